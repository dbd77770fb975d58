#!/usr/bin/env bash
# The course editor as a player uses it, in the real game under a virtual X server:
#   editor.sh GAME [OUTDIR]     (TD_SCREEN_TEXT, TD_BUILD_DIR and TD_RUNNER name the tools)
# E on the title opens the editor; a loop is laid with real mouse drags (button down, the
# pointer moved cell by cell, button up), shown broken until F puts the finish line on it and
# "Loop OK" after; a spur dragged on breaks it and U takes the spur back. D test-drives the loop
# (the race's HUD shows), Escape comes back to the editor with the loop kept; S, a typed name
# and Enter save it into the scratch XDG_DATA_HOME, where the course reader (through the
# runner, whose computer trucks race it to the end) reads it. Escape, held, then leaves to the
# title without quitting it, and Escape there quits. Every wait polls with a deadline.
# Exit 0 passed, 1 failed, 77 skipped.
game=$1
outdir=${2:-.}
testName=editor
. "$(dirname "$0")/helpers.sh"
limit=${TD_SESSION_LIMIT:-300}

if [ "${TD_EDITOR_INNER:-}" != 1 ]; then
    check "a game program at $game (did the build fail?)" test -x "$game"
    for tool in xvfb-run xwininfo xdotool timeout import convert; do
        command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
    done
    # No key repeat for 30 s: each letter of the name is held until it shows, which on a loaded
    # machine can outlast X's usual 660 ms and type it twice.
    TD_EDITOR_INNER=1 exec timeout $((limit + 60)) \
        xvfb-run -a -n $((200 + RANDOM % 700)) -s "-screen 0 1280x1024x24 -ardelay 30000" "$0" "$@"
fi

timeLimit "$limit"
screenText=${TD_SCREEN_TEXT:?}
images=${TD_BUILD_DIR:?}/images
runner=${TD_RUNNER:?}
scratch=$(mktemp -d)
pid=""
trap 'endTimeLimit; rm -rf "$scratch"' EXIT
mkdir -p "$outdir"
err="$outdir/editor.stderr"
onFail() {
    echo "--- last shot: ${shot:-none}; game's stderr:"
    cat "$err" 2>/dev/null
    [ -z "$pid" ] || kill -9 "$pid" 2>/dev/null
}

serverUp() { xwininfo -root >/dev/null 2>&1; }
waitFor 30 "the X server to answer" serverUp
unset SDL_VIDEODRIVER
export SDL_AUDIODRIVER=dummy
export XDG_DATA_HOME=$scratch/data
"$game" 2>"$err" 3>&- &
pid=$!

alive() { kill -0 "$pid" 2>/dev/null; }
windowShown() {  # NAME: sets window
    alive || fail "the game ended while waiting for \"$1\""
    window=$(windowNamed "$1")
    [ -n "$window" ]
}
shot=$outdir/editor-wait.ppm
# TEXT X Y R G B: the text in that colour at (X, Y) of a fresh screenshot.
shows() {
    alive || fail "the game ended while waiting for \"$1\""
    import -window "$window" -depth 8 "$shot" 2>/dev/null || return 1
    "$screenText" "$shot" "$images" is "$2" "$3" "$4" "$5" "$6" "$1" >/dev/null 2>&1
}
keep() { cp "$shot" "$outdir/editor-$1.ppm"; }
titleShown() { shows "Press SPACE to start" 196 22 1 1 1; }
editorShown() { shows "EDITOR" 424 430 1 1 1; }
loopOk() { shows "Loop OK" 20 42 0 1 0; }
broken() { shows "Broken" 20 42 1 0.3 0.3; }
raceShown() { shows "Total  Time" 10 440 1 1 0; }
savedFile=$XDG_DATA_HOME/trailerdash/courses/myloop1.course
saved() { [ -s "$savedFile" ]; }

# The centre of grid cell (X, Y) in window pixels: the grid's cells are 48 pixels from (16, 84)
# of the picture (origin bottom-left); the 640x480 window shows the picture unscaled.
cellPoint() { echo $((16 + 48 * $1 + 24)) $((479 - (84 + 48 * $2 + 24))); }
pointAt() { timeout 5 xdotool mousemove --window "$window" $(cellPoint "$1" "$2"); }
# BUTTON CELLS...: a drag through the cells ("x,y" each, side by side), one pointer move per cell.
drag() {
    local button=$1 cell
    shift
    step "dragging with button $button through $*"
    pointAt ${1%,*} ${1#*,}
    timeout 5 xdotool mousedown --window "$window" "$button"
    for cell in "$@"; do
        pointAt ${cell%,*} ${cell#*,}
        # Pacing only, so the moves reach the game as separate events; the checks below poll.
        sleep 0.03
    done
    timeout 5 xdotool mouseup --window "$window" "$button"
}
# The cells from X1,Y1 to X2,Y2 along a row or a column, the first left out.
line() {
    local x=$1 y=$2 tx=$3 ty=$4
    while [ "$x" != "$tx" ] || [ "$y" != "$ty" ]; do
        if [ "$x" -lt "$tx" ]; then x=$((x + 1)); elif [ "$x" -gt "$tx" ]; then x=$((x - 1));
        elif [ "$y" -lt "$ty" ]; then y=$((y + 1)); else y=$((y - 1)); fi
        printf '%s,%s ' "$x" "$y"
    done
}

waitFor 30 "the question \"Run Fullscreen?\"" windowShown "Run Fullscreen?"
timeout 5 xdotool windowfocus --sync "$window" >/dev/null 2>&1 || true
timeout 5 xdotool key Escape
waitFor 30 "the game's window" windowShown "GL Framework"
timeout 5 xdotool windowfocus --sync "$window" >/dev/null 2>&1 || true
waitFor 30 "the title" titleShown
holdKeyUntil e "$window" 30 "the editor after E on the title" editorShown
keep empty
waitFor 10 "an empty grid shown broken" broken

# A loop with bends both ways, in one drag round it.
drag 1 0,7 $(line 0 7 6 7) $(line 6 7 6 4) $(line 6 4 4 4) $(line 4 4 4 1) $(line 4 1 0 1) $(line 0 1 0 7)
waitFor 20 "the loop drawn, still broken with no finish line" broken
pointAt 3 7
holdKeyUntil f "$window" 20 "\"Loop OK\" once F puts the finish line on the top side" loopOk
keep loop
# A spur off the bottom side is a branch; U takes the whole drag back.
drag 1 2,1 2,0
waitFor 20 "the spur shown broken" broken
keep spur
holdKeyUntil u "$window" 20 "\"Loop OK\" again after U" loopOk

holdKeyUntil d "$window" 30 "the race's HUD after D" raceShown
keep drive
holdKeyUntil Escape "$window" 30 "the editor again after Escape" editorShown
waitFor 20 "the loop kept after the drive" loopOk

holdKeyUntil s "$window" 20 "the name prompt after S" shows "Save as:" 20 42 1 1 1
typed=""
for key in m y l o o p 1; do
    typed+=$key
    holdKeyUntil "$key" "$window" 20 "\"$typed\" typed" shows "Save as: $typed" 20 42 1 1 1
done
holdKeyUntil Return "$window" 20 "the course saved as $savedFile" saved
waitFor 20 "the loop shown again after saving" loopOk
keep saved
check "no temporary file left beside the course" test "$(ls "$(dirname "$savedFile")" | wc -l)" -eq 1
echo "saved: $(head -2 "$savedFile" | tr '\n' ' ')"
check "the saved course is named as typed" grep -qx "name myloop1" "$savedFile"

step "the runner reads the saved course and its computer trucks race it to the end"
"$runner" --course "$savedFile" --idle --draw-every 0 --data "$TD_BUILD_DIR" >"$outdir/editor-runner.txt" 2>&1 ||
    fail "the runner refused or could not finish the saved course: $(tail -5 "$outdir/editor-runner.txt")"
tail -6 "$outdir/editor-runner.txt"

# Held until the title shows: the title's frames see the key down, and must not quit on it.
holdKeyUntil Escape "$window" 20 "the title after Escape in the editor" titleShown
waitFor 20 "the title still there after Escape is let go" titleShown

# The title lists the saved course: the player's own come last before the random entry, so Left
# from the first course reaches the random one and then the saved one.
choiceSignature() {
    import -window "$window" -depth 8 "$shot" 2>/dev/null || return 1
    convert "$shot" -crop 230x30+290+376 +repage -format %# info:
}
choiceMoved() { local now; now=$(choiceSignature) && [ "$now" != "$before" ]; }
for i in 1 2 3; do
    shows "myloop1" 290 74 1 1 1 && break
    before=$(choiceSignature) || before=""
    holdKeyUntil Left "$window" 20 "the title's course choice to move on Left" choiceMoved
done
check "the title lists the saved course" shows "myloop1" 290 74 1 1 1
keep listed
holdKeyUntil Escape "$window" 20 "the game to end on Escape at the title" eval '! alive'
wait "$pid"
status=$?
check "exit code 0 (was $status)" test "$status" -eq 0
if grep -qE "Sanitizer|runtime error" "$err"; then fail "a sanitizer report"; fi
echo "PASS (editor)"
