#!/usr/bin/env bash
# Records what a player hears, through SDL's disk audio driver, in a virtual X server:
#   record.sh GAME DATA OUTDIR
# GAME is a trailerdash program, DATA the folder holding "images" (the build folder). OUTDIR gets:
#   play.raw     the title, idle on the grid, Up held, then paused (48 kHz stereo float32)
#   marks.txt    "FILE NAME FIRST_BYTE LAST_BYTE" per measured stretch, read off the growing file
# then `python3 bench/sound/bands.py OUTDIR` prints the table. Takes about half a minute: the disk
# driver writes at the speaker's pace.
set -eu
game=$(realpath "$1")
data=$(realpath "$2")
outdir=$(mkdir -p "$3" && realpath "$3")

if [ "${TD_RECORD_INNER:-}" != 1 ]; then
    for tool in xvfb-run xwininfo xdotool timeout; do
        command -v "$tool" >/dev/null || { echo "record.sh: $tool is not installed"; exit 1; }
    done
    TD_RECORD_INNER=1 exec timeout 120 xvfb-run -a -n $((200 + RANDOM % 700)) -s "-screen 0 1280x1024x24" \
        "$0" "$game" "$data" "$outdir"
fi

for i in $(seq 50); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.1; done
unset SDL_VIDEODRIVER
export SDL_AUDIODRIVER=disk
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export XDG_DATA_HOME=$scratch/data  # records and replays never touch the real home
: >"$outdir/marks.txt"

windowNamed() {
    xwininfo -root -tree 2>/dev/null | awk -v name="\"$1\"" '/^     0x/ && index($0, name) { print $1; exit }'
}
waitForWindow() {  # NAME: prints its id, within 30 s
    local id deadline=$((SECONDS + 30))
    while [ $SECONDS -lt $deadline ]; do
        id=$(windowNamed "$1")
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    echo "record.sh: no window \"$1\"" >&2
    return 1
}
press() {  # KEY WINDOW: held for a few frames
    xdotool windowfocus --sync "$2" >/dev/null 2>&1 || true
    xdotool keydown "$1"; sleep 0.3; xdotool keyup "$1"
}
bytes() { stat -c %s "$file"; }
mark() {  # NAME SECONDS: the stretch of the next SECONDS of sound
    local first
    first=$(bytes)
    sleep "$2"
    echo "$(basename "$file") $1 $first $(bytes)" >>"$outdir/marks.txt"
}
# Starts the game, answers No to full screen, waits for its window.
start() {
    export SDL_DISKAUDIOFILE=$file
    (cd "$data" && exec "$game") 2>"$file.stderr" &
    pid=$!
    press Escape "$(waitForWindow "Run Fullscreen?")"
    window=$(waitForWindow "GL Framework")
    sleep 2  # loaded and sounding
}

file=$outdir/play.raw
start
mark title 3
press space "$window"
sleep 0.5
mark idle 3
xdotool windowfocus --sync "$window" >/dev/null 2>&1 || true
xdotool keydown Up
sleep 1.5
mark throttle 4
# P pressed while Up is still held: the fade is measured from the press, at full throttle.
first=$(bytes)
xdotool keydown p
sleep 0.8
echo "$(basename "$file") fade $first $(bytes)" >>"$outdir/marks.txt"
xdotool keyup p
xdotool keyup Up
mark paused 3
press Escape "$window"
wait "$pid" || true

cat "$outdir/marks.txt"
