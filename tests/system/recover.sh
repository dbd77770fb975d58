#!/usr/bin/env bash
# Getting unstuck, as a player does it, in the real game under a virtual X server:
#   recover.sh GAME [OUTDIR]     (TD_SCREEN_TEXT, TD_BUILD_DIR and TD_RUNNER name the tools)
# Up held from the start runs the truck into the outer wall at the first bend. There the game
# says "Stuck? Press R to recover"; R shows "Recovering..." and sets the truck back on the
# grid, and driven from there (steered by the position the I key shows) it takes the first
# checkpoint. The game's own replay of the session, played by the runner, confirms the
# checkpoint. Every wait polls with a deadline; exit 0 passed, 1 failed, 77 skipped.
set -u
game=$1
outdir=${2:-.}

if [ "${TD_RECOVER_INNER:-}" != 1 ]; then
    [ -x "$game" ] || { echo "FAIL: no game program at $game (did the build fail?)"; exit 1; }
    for tool in xvfb-run xwininfo xdotool timeout import; do
        command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
    done
    TD_RECOVER_INNER=1 exec timeout 420 xvfb-run -a -n $((200 + RANDOM % 700)) -s "-screen 0 1280x1024x24" "$0" "$@"
fi

screenText=${TD_SCREEN_TEXT:?}
images=${TD_BUILD_DIR:?}/images
runner=${TD_RUNNER:?}
for i in $(seq 50); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.1; done
unset SDL_VIDEODRIVER
export SDL_AUDIODRIVER=dummy
mkdir -p "$outdir"
err="$outdir/recover.stderr"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export XDG_DATA_HOME=$scratch/data
"$game" 2>"$err" &
pid=$!

fail() {
    echo "FAIL (recover): $*"
    echo "--- game's stderr:"; cat "$err"
    kill -9 "$pid" 2>/dev/null
    exit 1
}
alive() { kill -0 "$pid" 2>/dev/null; }
windowNamed() {
    xwininfo -root -tree 2>/dev/null | awk -v name="\"$1\"" '/^     0x/ && index($0, name ": (") { print $1; exit }'
}
waitForWindow() {  # NAME SECONDS: sets found
    local deadline=$((SECONDS + $2))
    while [ $SECONDS -lt $deadline ]; do
        alive || fail "the game ended while waiting for \"$1\""
        found=$(windowNamed "$1")
        [ -n "$found" ] && return 0
        sleep 0.1
    done
    fail "no window \"$1\" within $2 s"
}
# KEYS SECONDS: held together that long, so several frames see them.
hold() {
    local k
    for k in $1; do timeout 5 xdotool keydown "$k"; done
    sleep "$2"
    for k in $1; do timeout 5 xdotool keyup "$k"; done
}
# A window just listed may not be mapped yet, and a starved X server refuses a grab now and
# then: a shot is retried for 10 s.
shoot() {
    shot=$outdir/recover-$1.ppm
    local tries=50
    until import -window "$window" -depth 8 "$shot" 2>/dev/null; do
        tries=$((tries - 1))
        [ $tries -gt 0 ] || fail "no screenshot $1"
        sleep 0.2
    done
}
shows() {  # TEXT X Y R G B: on the last shot
    "$screenText" "$shot" "$images" is "$2" "$3" "$4" "$5" "$6" "$1" >/dev/null
}
# Sets x and y from "TruckPos X Y" (the I key's line at 300, 10: the numbers start after the
# label's 105 units); false when the shot does not read cleanly.
position() {
    local text
    text=$("$screenText" "$shot" "$images" read 405 10 9 2>/dev/null) || return 1
    read -r x y <<<"$text"
    [[ "$x" =~ ^[0-9]+$ && "$y" =~ ^[0-9]+$ ]]
}
speedOf() {  # sets speed from the HUD
    speed=$("$screenText" "$shot" "$images" read 10 10 2 2>/dev/null) || return 1
    speed=${speed// /}
}
# KEY SECONDS TEXT X Y R G B: holds KEY until TEXT shows, however slow the frames come.
holdUntil() {
    local key=$1
    shift
    timeout 5 xdotool keydown "$key"
    waitForText "$@"
    timeout 5 xdotool keyup "$key"
}
# SECONDS TEXT X Y R G B: polls until TEXT shows.
waitForText() {
    local deadline=$((SECONDS + $1))
    while [ $SECONDS -lt $deadline ]; do
        alive || fail "the game ended while waiting for \"$2\""
        shoot wait
        shows "$2" "$3" "$4" "$5" "$6" "$7" && return 0
        sleep 0.1
    done
    fail "no \"$2\" at $3, $4 within $1 s (last shot $shot)"
}

waitForWindow "Run Fullscreen?" 30
timeout 5 xdotool windowfocus --sync "$found" >/dev/null 2>&1
hold Escape 0.3
waitForWindow "GL Framework" 30
window=$found
timeout 5 xdotool windowfocus --sync "$window" >/dev/null 2>&1
waitForText 30 "Press SPACE to start" 196 22 1 1 1
waitForText 5 "Arrows steer, P pause, R recover" 140 326 1 1 1
holdUntil space 20 "Total  Time" 10 440 1 1 0
holdUntil i 20 "Info" 300 40 1 1 1

# Up held from the start: the truck runs straight on into the outer wall past the first bend,
# and crawls there however long Up is held.
timeout 5 xdotool keydown Up
deadline=$((SECONDS + 60))
stuckReads=0
trail=""
# The hint shows for five seconds of race time once the truck has crawled against the wall a
# while; a loaded machine's slow reads can take longer than that to see the truck stop, so every
# read looks for it.
hintSeen=0
while [ $stuckReads -lt 3 ]; do
    [ $SECONDS -lt $deadline ] || fail "the truck never came to a stop at the first bend ($trail)"
    alive || fail "the game ended while driving into the wall"
    shoot up
    shows "Stuck? Press R to recover" 124 120 1 1 0 && hintSeen=1
    if position && speedOf; then
        trail+="$x,$y@$speed "
        if [ "$x" -gt 1650 ] && [ "$speed" -lt 12 ]; then stuckReads=$((stuckReads + 1)); else stuckReads=0; fi
    fi
    sleep 0.2
done
echo "stuck against the wall: $trail"
cp "$shot" "$outdir/recover-stuck.ppm"
[ $hintSeen -eq 1 ] || waitForText 30 "Stuck? Press R to recover" 124 120 1 1 0
echo "the hint shows while the truck is stuck"
timeout 5 xdotool keyup Up

holdUntil r 20 "Recovering..." 124 120 1 1 0
cp "$shot" "$outdir/recover-waiting.ppm"
echo "R shows \"Recovering...\""
setDown() {
    deadline=$((SECONDS + 20))
    while :; do
        [ $SECONDS -lt $deadline ] || fail "still \"Recovering...\" after 20 s"
        shoot after
        if ! shows "Recovering..." 124 120 1 1 0 && position; then break; fi
        sleep 0.1
    done
    echo "set down at $x, $y"
    # Before the first checkpoint the truck goes back to its grid place, or the next row (y 1880)
    # when a computer truck coming round is standing on it; once the game has counted the
    # checkpoint, onto that checkpoint's tile.
    onCheckpoint && return 0
    [ "$x" -lt 400 ] && [ "$y" -ge 1870 ] || fail "set down at $x, $y, not on the truck's grid place (250, 1960) or the row beside it"
}
onCheckpoint() { [ "$x" -ge 1536 ] && [ "$x" -lt 1792 ] && [ "$y" -ge 1536 ] && [ "$y" -lt 1792 ]; }
setDown

# Returns 0 on the first checkpoint's tile, 1 when the truck lost the road on the way.
driveToCheckpoint() {
    # Steered by the position alone, in short pushes at a walking pace so every read sees the
    # truck close to where the last one did: the heading is the way the last reads moved. First
    # along the straight, then down the right side into the first checkpoint's tile (1536..1792).
    targets=("1300 1930" "1664 1600")
    target=0
    push=0.25  # seconds; longer while a push does not move the truck (slow frames), shorter when it flies
    moved=1
    hx=1 hy=0
    px=$x py=$y
    trail=""
    deadline=$((SECONDS + 90))
    while :; do
        [ $SECONDS -lt $deadline ] || return 1
        alive || fail "the game ended while driving to the first checkpoint"
        shoot drive
        position && speedOf || continue
        trail+="$x,$y@$speed "
        step=$(((x - px) * (x - px) + (y - py) * (y - py)))
        if [ $step -gt 400 ]; then
            read -r hx hy <<<"$((x - px)) $((y - py))"
            px=$x py=$y
        fi
        onCheckpoint && return 0
        # Past the bend or off beyond it: the slow reads of a loaded machine let it run wide.
        if [ "$y" -lt 1300 ] || [ "$x" -gt 2040 ] || { [ $target -eq 1 ] && [ "$y" -gt 2020 ]; }; then return 1; fi
        [ "$speed" -gt 20 ] && continue
        if [ "$speed" -eq 0 ] && [ $moved -eq 0 ]; then
            push=$(awk -v p="$push" 'BEGIN { print (p * 2 > 2 ? 2 : p * 2) }')
        elif [ $step -gt 40000 ]; then
            push=$(awk -v p="$push" 'BEGIN { print (p / 2 < 0.15 ? 0.15 : p / 2) }')
        fi
        moved=0
        [ $step -gt 25 ] && moved=1
        read -r tx ty <<<"${targets[$target]}"
        if [ $target -eq 0 ] && [ $(((tx - x) * (tx - x) + (ty - y) * (ty - y))) -lt 40000 ]; then
            target=1
            read -r tx ty <<<"${targets[$target]}"
        fi
        # Left of the heading is a positive cross product.
        keys=$(awk -v hx="$hx" -v hy="$hy" -v dx=$((tx - x)) -v dy=$((ty - y)) 'BEGIN {
            n = sqrt(dx * dx + dy * dy) * sqrt(hx * hx + hy * hy); if (n == 0) n = 1
            c = (hx * dy - hy * dx) / n
            print (c > 0.1 ? "Up Left" : c < -0.1 ? "Up Right" : "Up") }')
        hold "$keys" "$push"
    done
}
# A drive that runs wide of the bend is what R is for: recover and try again, a few times.
attempt=1
until driveToCheckpoint; do
    echo "attempt $attempt lost the road: $trail"
    [ $attempt -lt 3 ] || fail "never reached the first checkpoint's tile in $attempt attempts"
    attempt=$((attempt + 1))
    holdUntil r 20 "Recovering..." 124 120 1 1 0
    setDown
    onCheckpoint && break
done
cp "$shot" "$outdir/recover-checkpoint.ppm"
echo "on the first checkpoint's tile at $x, $y: $trail"
hold Escape 0.3
deadline=$((SECONDS + 15))
while alive && [ $SECONDS -lt $deadline ]; do sleep 0.1; done
alive && fail "the game still runs after Escape"
wait "$pid"
status=$?
[ "$status" -eq 0 ] || fail "exit code $status"
grep -qE "Sanitizer|runtime error" "$err" && fail "a sanitizer report"

# The replay drives the same race: the user's truck takes checkpoint 1 after a recovery.
replay=$XDG_DATA_HOME/trailerdash/last.replay
[ -f "$replay" ] || fail "no replay of the session at $replay"
trace=$outdir/recover-replay.csv
"$runner" --replay "$replay" --data "$TD_BUILD_DIR" --draw-every 0 --trace "$trace" >"$outdir/recover-runner.txt" 2>&1
# truck 0's rows: frame,truck,x,y,speed,cab,trailer,steer,power,laps,lastCheckpoint
awk -F, '$2 == 0 {
        if (prev != "" && ($3 - px) ^ 2 + ($4 - py) ^ 2 > 400 ^ 2 && !lifted) { lifted = $1; lx = $3; ly = $4 }
        if (lifted && $11 >= 1 && !taken) taken = $1
        px = $3; py = $4; prev = 1
    }
    END {
        printf "replay: lifted in frame %s to %.0f, %.0f; checkpoint 1 taken in frame %s\n", lifted, lx, ly, taken
        exit !(lifted && taken)
    }' "$trace" || fail "the replay does not show a recovery followed by checkpoint 1 (trace $trace)"
echo "PASS (recover)"
