#!/usr/bin/env bash
# Two players on one screen, as two people at one keyboard play it, in the real game under a
# virtual X server:
#   twoPlayers.sh GAME [OUTDIR]     (TD_SCREEN_TEXT and TD_BUILD_DIR name the tools)
# The menu's "Two players" starts the race split in two views (one above the other in the 4:3
# window); Up (player one) and W (player two) held together drive both trucks at once, and each
# view's HUD reads its own truck's speed off the screen. Escape pauses both, "Back to the title"
# ends it. Every wait polls with a deadline; exit 0 passed, 1 failed, 77 skipped.
set -u
game=$1
outdir=${2:-.}
if [ "${TD_TWO_INNER:-}" != 1 ]; then
    [ -x "$game" ] || { echo "FAIL: no game program at $game (did the build fail?)"; exit 1; }
    for tool in xvfb-run xwininfo xdotool timeout import; do
        command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
    done
    TD_TWO_INNER=1 exec timeout 400 xvfb-run -a -n $((200 + RANDOM % 700)) -s "-screen 0 1280x1024x24" "$0" "$@"
fi
source "$(dirname "$0")/helpers.sh"
timeLimit 340
screenText=${TD_SCREEN_TEXT:?}
images=${TD_BUILD_DIR:?}/images
for i in $(seq 50); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.1; done
unset SDL_VIDEODRIVER
export SDL_AUDIODRIVER=dummy
mkdir -p "$outdir"
err="$outdir/twoPlayers.stderr"
scratch=$(mktemp -d)
export XDG_DATA_HOME=$scratch/data XDG_CONFIG_HOME=$scratch/config
settings=$XDG_CONFIG_HOME/trailerdash/settings
mkdir -p "$(dirname "$settings")"
printf 'trailerdash settings 1\nstart windowed\n' >"$settings"
"$game" 2>"$err" &
pid=$!
onFail() { echo "--- game's stderr:"; cat "$err"; kill -9 "$pid" 2>/dev/null; }
trap 'endTimeLimit; rm -rf "$scratch"' EXIT

shot=$outdir/twoPlayers.ppm
# TEXT X Y R G B: on a fresh screenshot, in the picture's own units.
shows() {
    grabWindow "$window" "$shot" -depth 8 || return 1
    "$screenText" "$shot" "$images" is "$2" "$3" "$4" "$5" "$6" "$1" >/dev/null
}
# The same inside a two-player view: a unit a pixel.
viewShows() {
    grabWindow "$window" "$shot" -depth 8 || return 1
    "$screenText" "$shot" "$images" exact is "$2" "$3" "$4" "$5" "$6" "$1" >/dev/null
}
press() {
    timeout 5 xdotool keydown "$1"
    sleep 0.4
    timeout 5 xdotool keyup "$1"
    sleep 0.2
}
alive() { kill -0 "$pid" 2>/dev/null; }
gameWindow() { window=$(windowNamed "GL Framework"); [ -n "$window" ]; }

# In the 640x480 window player one's view is the top 239 rows (from row 241), player two's the
# bottom 239; each HUD's speed stands at (10, 10) of its view.
topView=241
speeds=""
# Both speeds off one screenshot, as "ONE TWO"; fails when either does not read.
readSpeeds() {
    grabWindow "$window" "$shot" -depth 8 || return 1
    local one two
    one=$("$screenText" "$shot" "$images" exact read 10 $((topView + 10)) 3 2>/dev/null) || return 1
    two=$("$screenText" "$shot" "$images" exact read 10 10 3 2>/dev/null) || return 1
    speeds="$((10#${one// /})) $((10#${two// /}))"
}
bothMoving() {
    readSpeeds || return 1
    local one two
    read -r one two <<<"$speeds"
    [ "$one" -gt 0 ] && [ "$two" -gt 0 ]
}

waitFor 60 "the game's window, with no start question" gameWindow
waitFor 60 "the title's menu hint" shows "Return menu" 340 422 1 1 0
holdKeyUntil Return "$window" 30 "the menu, Quick race chosen" shows "Quick race" 160 370 1 1 0
for i in 1 2 3; do press Down; done
waitFor 30 "Two players chosen in the menu" shows "Two players" 160 250 1 1 0
holdKeyUntil Return "$window" 30 "player two's view, named" viewShows "Player 2" 10 205 1 1 0
waitFor 30 "player one's view, named, above it" viewShows "Player 1" 10 $((topView + 205)) 1 1 0
waitFor 30 "both trucks standing on the grid" readSpeeds
step "both standing: speeds $speeds"
check "both trucks stand still before anyone drives ($speeds)" test "$speeds" = "0 0"
# Up and W held together (the countdown may still be on: held until the trucks go).
step "holding Up and W together"
timeout 5 xdotool windowfocus --sync "$window" >/dev/null 2>&1 || true
timeout 5 xdotool keydown Up
timeout 5 xdotool keydown w
deadline=$((SECONDS + 90))
until bothMoving; do
    if [ $SECONDS -ge $deadline ]; then
        timeout 5 xdotool keyup Up w || true
        fail "both trucks did not move within 90 s of holding Up and W (speeds read: ${speeds:-none})"
    fi
    sleep 0.2
done
grabWindow "$window" "$outdir/twoPlayers.png" || true
timeout 5 xdotool keyup Up w
step "both moving: speeds $speeds (player one, player two)"
holdKeyUntil Escape "$window" 30 "the pause menu over both views" shows "PAUSED" 160 422 1 1 1
check "the game still runs after Escape in the race" alive
press Down
press Down
holdKeyUntil Return "$window" 30 "the title again" shows "Return menu" 340 422 1 1 0
step "Escape on the title quits"
timeout 5 xdotool keydown Escape
deadline=$((SECONDS + 30))
while alive; do
    [ $SECONDS -lt $deadline ] || fail "the game did not quit on Escape"
    sleep 0.1
done
timeout 5 xdotool keyup Escape || true
wait "$pid" || fail "the game's exit status was $?"
echo "PASS (twoPlayers)"
