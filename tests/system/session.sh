#!/usr/bin/env bash
# One run of the real game in a virtual X server, driven as a player would drive it.
#   session.sh GAME CLOSER SCENARIO [OUTDIR]
# Scenarios: escape     answer No, check the 640x480 window, quit with Escape
#            close      ... quit with the window's close request (WM_DELETE_WINDOW via CLOSER)
#            terminate  ... quit with SIGTERM
#            hide       ... unmap the window (no frames), map it again, then Escape
#            fullscreen answer Yes: the refusal box, then the windowed 640x480 window, Escape
#            nodata     started far from any "images" folder: the report, then as escape
#            installed  installed into a scratch prefix (TD_BUILD_DIR names the build) and
#                       started elsewhere: it finds its pictures with no report, then as escape
#            race       the title, Space, then Up held: the HUD's clock runs and the speed rises
#                       (read off screenshots by TD_SCREEN_TEXT), then Escape
#            package    the .deb that `make package` builds, unpacked with dpkg -x into a scratch
#                       folder: the entry, its metainfo, the manual page, the icons and the
#                       pictures are there, and the program
#                       started from elsewhere finds its pictures with no report, then as escape
#            records    a whole race kept by the headless runner (TD_RUNNER) as the game keeps it:
#                       the game shows its records on the title; then a short race, quit: its
#                       replay is kept, and the runner plays it back
#            scale      the window resized to 1280x960: the title picture doubled, a right-button
#                       drag still zooms, F11 fills the screen and F11 again gives the window back
#            help       H on the title shows the keys and buttons; Escape, held, closes them and
#                       quits nothing; Escape again quits
#            start      as escape, at once: one of many fresh starts (starts.sh)
#            nodisplay  neither DISPLAY nor WAYLAND_DISPLAY: a message and a failure exit, no hang
#            noenv      HOME and XDG_RUNTIME_DIR unset, then as escape
#            smallscreen  a 320x240 screen, smaller than the window, then as escape
#            closequestion  the question's box closed by its close request: windowed, then Escape
#            interruptquestion  SIGINT while the question waits: exit code 0
#            interruptrace, terminaterace  SIGINT or SIGTERM with a race under way: exit code 0
# Every wait has a deadline; exit 0 passed, 1 failed, 77 skipped. A sanitizer report on the
# game's stderr fails any scenario.
set -u
game=$1
closer=$2
scenario=$3
outdir=${4:-.}

if [ "$scenario" = nodisplay ]; then
    [ -x "$game" ] || { echo "FAIL: no game program at $game (did the build fail?)"; exit 1; }
    mkdir -p "$outdir"
    err="$outdir/session-$scenario.stderr"
    timeout 30 env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$game" 2>"$err"
    status=$?
    echo "exit code $status; stderr: $(cat "$err")"
    [ $status -ne 124 ] || { echo "FAIL (nodisplay): still running after 30 s"; exit 1; }
    [ $status -ne 0 ] || { echo "FAIL (nodisplay): exit code 0 without a window"; exit 1; }
    grep -q "no display" "$err" || { echo "FAIL (nodisplay): no message on stderr"; exit 1; }
    echo "PASS ($scenario)"
    exit 0
fi

if [ "${TD_SESSION_INNER:-}" != 1 ]; then
    [ -x "$game" ] || { echo "FAIL: no game program at $game (did the build fail?)"; exit 1; }
    for tool in xvfb-run xwininfo xdotool timeout; do
        command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
    done
    # A random first server number keeps runs started at the same moment (other builds'
    # tests) from racing for the same display.
    screen=1280x1024x24
    [ "$scenario" = smallscreen ] && screen=320x240x24
    TD_SESSION_INNER=1 exec timeout 100 xvfb-run -a -n $((200 + RANDOM % 700)) -s "-screen 0 $screen" "$0" "$@"
fi

# The game's first box must not race the server's start.
for i in $(seq 50); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.1; done

# SDL must use the X server, whatever the calling shell asked for.
unset SDL_VIDEODRIVER
# The race is played with its sound on, through the driver that needs no sound card; the other
# scenarios find whatever the machine has (often nothing: the game then runs silent).
[ "$scenario" = race ] && export SDL_AUDIODRIVER=dummy
mkdir -p "$outdir"
err="$outdir/session-$scenario.stderr"
workdir=$PWD
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# Records and replays go to the scratch folder, never the real home.
export XDG_DATA_HOME=$scratch/data
kept=$XDG_DATA_HOME/trailerdash
if [ "$scenario" = nodata ]; then
    mkdir "$scratch/bin"
    cp "$game" "$scratch/bin/trailerdash"
    game="$scratch/bin/trailerdash"
    workdir=$scratch
fi
if [ "$scenario" = installed ]; then
    cmake --install "${TD_BUILD_DIR:?}" --prefix "$scratch/prefix" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }
    game="$scratch/prefix/bin/trailerdash"
    mkdir "$scratch/elsewhere"
    workdir=$scratch/elsewhere
fi

if [ "$scenario" = package ]; then
    (cd "${TD_BUILD_DIR:?}" && cpack -G DEB -B "$scratch/pkg" >"$outdir/session-package-cpack.txt" 2>&1) ||
        { cat "$outdir/session-package-cpack.txt"; echo "FAIL (package): cpack"; exit 1; }
    deb=$(ls "$scratch"/pkg/*.deb | head -1)
    dpkg -x "$deb" "$scratch/root" || { echo "FAIL (package): dpkg -x $deb"; exit 1; }
    for file in bin/trailerdash share/applications/org.example.trailerdash.desktop \
        share/metainfo/org.example.trailerdash.metainfo.xml share/man/man6/trailerdash.6.gz \
        share/icons/hicolor/64x64/apps/trailerdash.png \
        share/icons/hicolor/256x256/apps/trailerdash.png share/trailerdash/images/text/impactVerdana16.dat; do
        [ -f "$scratch/root/usr/$file" ] || { echo "FAIL (package): no /usr/$file in $deb"; exit 1; }
    done
    if command -v desktop-file-validate >/dev/null; then
        desktop-file-validate "$scratch/root/usr/share/applications/org.example.trailerdash.desktop" ||
            { echo "FAIL (package): the desktop entry does not validate"; exit 1; }
    fi
    echo "$(basename "$deb"): $(dpkg-deb -f "$deb" Depends)"
    game="$scratch/root/usr/bin/trailerdash"
    mkdir "$scratch/elsewhere"
    workdir=$scratch/elsewhere
fi
if [ "$scenario" = records ]; then
    "${TD_RUNNER:?}" --keep --track 0 --data "${TD_BUILD_DIR:?}" --draw-every 0 >"$outdir/session-records-runner.txt" ||
        { echo "FAIL (records): the runner's race did not finish"; exit 1; }
    [ -f "$kept/records" ] || { echo "FAIL (records): no records file in $kept"; exit 1; }
    cat "$kept/records"
fi

# A background job of a script starts with SIGINT ignored; the game gets it as from a terminal.
unsetVars=()
[ "$scenario" = noenv ] && unsetVars=(-u HOME -u XDG_RUNTIME_DIR)
(cd "$workdir" && exec env "${unsetVars[@]}" --default-signal=INT "$game") 2>"$err" &
pid=$!

fail() {
    echo "FAIL ($scenario): $*"
    echo "--- windows:"; xwininfo -root -tree 2>/dev/null | grep ' 0x' | head -20
    echo "--- display $DISPLAY; game's stderr:"; cat "$err"
    kill -9 "$pid" 2>/dev/null
    exit 1
}
alive() { kill -0 "$pid" 2>/dev/null; }
# The top-level windows as "id name" lines; an unnamed window is "(has no name)".
windows() { xwininfo -root -tree 2>/dev/null | awk '/^     0x/ { id = $1; sub(/^ *0x[0-9a-f]+ /, ""); sub(/: \(.*$/, ""); print id, $0 }'; }
windowNamed() { windows | awk -v name="\"$1\"" 'substr($0, index($0, " ") + 1) == name { print $1; exit }'; }
press() {  # KEY WINDOW: held long enough that a frame sees it
    timeout 5 xdotool windowfocus --sync "$2" >/dev/null 2>&1
    timeout 5 xdotool keydown "$1"; sleep 0.3; timeout 5 xdotool keyup "$1"
}
boxesDismissed=0
unnamedBefore=" "
# The game's error boxes have an empty caption; each is answered with Return. Every window
# is unnamed for a moment after it is created, so only one still unnamed on the next poll
# is a box: answering the question or the "Error" box in that moment would skip a step.
dismissBoxes() {
    local id unnamedNow=" "
    for id in $(windows | awk 'substr($0, index($0, " ") + 1) == "(has no name)" { print $1 }'); do
        if [[ "$unnamedBefore" != *" $id "* ]]; then
            unnamedNow+="$id "
            continue
        fi
        [ "$boxesDismissed" -ge 200 ] && fail "more than 200 error boxes"
        boxesDismissed=$((boxesDismissed + 1))
        timeout 5 xdotool windowfocus --sync "$id" >/dev/null 2>&1
        timeout 5 xdotool key Return
        sleep 0.1
    done
    unnamedBefore=$unnamedNow
}
# Functions that count boxes or may fail run in this shell, never in $(...), and hand back
# their result in a variable.
waitForWindow() {  # NAME SECONDS: sets found to the id
    local deadline=$((SECONDS + $2))
    while [ $SECONDS -lt $deadline ]; do
        alive || fail "the game ended while waiting for \"$1\""
        found=$(windowNamed "$1")
        [ -n "$found" ] && return 0
        dismissBoxes
        sleep 0.1
    done
    fail "no window \"$1\" within $2 s"
}
waitForExit() {  # SECONDS: sets status
    local deadline=$((SECONDS + $1))
    while alive && [ $SECONDS -lt $deadline ]; do sleep 0.1; done
    alive && fail "the game still runs $1 s after it was asked to quit"
    wait "$pid"
    status=$?
    grep -qE "Sanitizer|runtime error" "$err" && fail "a sanitizer report"
}

waitForWindow "Run Fullscreen?" 30
question=$found
if [ "$scenario" = nodata ]; then
    [ "$boxesDismissed" -ge 1 ] || fail "no box told that the data folder is missing"
    grep -q 'no "images" folder' "$err" || fail "stderr does not name the missing images folder"
fi
if [ "$scenario" = installed ] || [ "$scenario" = package ]; then
    [ "$boxesDismissed" -eq 0 ] || fail "the installed game did not find its data folder"
fi
case "$scenario" in
fullscreen)
    press Return "$question"
    waitForWindow "Error" 20
    press Return "$found"
    grep -q "The screen mode was not supported by your display" "$err" || fail "no refusal text on stderr"
    ;;
closequestion)
    "$closer" "$question" || fail "the close request could not be sent"
    ;;
interruptquestion)
    kill -INT "$pid"
    waitForExit 10
    echo "exit code: $status"
    [ "$status" -eq 0 ] || fail "exit code $status, not 0"
    echo "PASS ($scenario)"
    exit 0
    ;;
*)
    press Escape "$question"
    ;;
esac

waitForWindow "GL Framework" 30
window=$found
# Whatever the loaders report while the game loads is answered too, until the boxes stop.
quiet=0
loadDeadline=$((SECONDS + 60))
while [ $quiet -lt 10 ] && [ $SECONDS -lt $loadDeadline ]; do
    before=$boxesDismissed
    dismissBoxes
    [ $boxesDismissed -eq $before ] && [ "$unnamedBefore" = " " ] && quiet=$((quiet + 1)) || quiet=0
    sleep 0.1
done
echo "error boxes answered: $boxesDismissed"
if { [ "$scenario" = installed ] || [ "$scenario" = package ]; } && [ -d "$TD_BUILD_DIR/images/text" ]; then
    [ "$boxesDismissed" -eq 0 ] || fail "the installed game missed some of its pictures"
fi

# Screenshot NAME: session-race-NAME.ppm to read, .png to look at.
shoot() {
    local base="$outdir/session-race-$1"
    import -window "$window" -depth 8 "$base.ppm" 2>/dev/null || fail "no screenshot $1"
    convert "$base.ppm" "$base.png" 2>/dev/null
    shotFile=$base.ppm
}
# TEXT X Y R G B must stand on the last shot.
expectText() {
    "$screenText" "$shotFile" "$images" is "$2" "$3" "$4" "$5" "$6" "$1" || fail "no \"$1\" at $2, $3 on $shotFile"
}
# NAME: shoots and sets clock and speed to the HUD's values on that shot. The world scrolls
# under the HUD and a light patch behind a digit can spoil its reading, so a shot that does
# not read cleanly is taken again a few frames later.
shootHUD() {
    local try
    for try in 1 2 3 4 5; do
        shoot "$1"
        if clock=$("$screenText" "$shotFile" "$images" read 10 415 8 2>/dev/null) &&
            speed=$("$screenText" "$shotFile" "$images" read 10 10 2 2>/dev/null); then
            [ "$try" -gt 1 ] && echo "the HUD read cleanly on shot $try of \"$1\""
            return 0
        fi
        sleep 0.05
    done
    "$screenText" "$shotFile" "$images" read 10 415 8
    "$screenText" "$shotFile" "$images" read 10 10 2
    fail "the HUD's clock or speed does not read on $shotFile after $try shots"
}
race() {
    screenText=${TD_SCREEN_TEXT:?}
    images=${TD_BUILD_DIR:?}/images
    command -v import >/dev/null || { echo "SKIP: ImageMagick is not installed"; exit 77; }
    shoot title
    expectText "TRAILER DASH" 140 422 1 1 1
    expectText "Press SPACE to start" 196 22 1 1 1
    "$screenText" "$shotFile" "$images" read 10 415 8 >/dev/null 2>&1 && fail "a race clock shows on the title"
    press space "$window"
    sleep 0.5
    shootHUD start; clock0=$clock; speed0=$speed
    expectText "Total  Time" 10 440 1 1 0
    expectText "Speed" 10 40 0 1 0
    [ "$speed0" = " 0" ] || fail "the truck moves before Up"
    # Up goes down only now: held from before Space it would not put the truck in gear.
    timeout 5 xdotool keydown Up
    # Held straight on, the truck meets a wall within about three seconds. On a loaded machine
    # a shot and its reading take seconds, so a burst of bare shots comes first and is read after.
    local shot file c s previousClock=$clock0 previousSpeed=-1 readings="" rose=0 readable=0
    for shot in 1 2 3 4 5 6; do
        import -window "$window" -depth 8 "$outdir/session-race-up$shot.ppm" 2>/dev/null || fail "no screenshot up$shot"
        sleep 0.2
    done
    timeout 5 xdotool keyup Up
    for shot in 1 2 3 4 5 6; do
        file=$outdir/session-race-up$shot.ppm
        convert "$file" "${file%.ppm}.png" 2>/dev/null
        # A light patch behind a digit can spoil a reading; that shot is left out.
        c=$("$screenText" "$file" "$images" read 10 415 8 2>/dev/null) || continue
        s=$("$screenText" "$file" "$images" read 10 10 2 2>/dev/null) || continue
        s=${s// /}
        readings+="$c $s, "
        readable=$((readable + 1))
        [[ "$previousClock" < "$c" ]] || fail "the race clock does not run ($readings)"
        [ "$previousSpeed" -ge 0 ] && [ "$s" -gt "$previousSpeed" ] && rose=1
        previousClock=$c
        previousSpeed=$s
    done
    echo "start: $clock0, speed '$speed0'; with Up held (clock, speed): $readings"
    [ $readable -ge 2 ] || fail "fewer than two of the six shots with Up held read cleanly"
    [ $rose -eq 1 ] || fail "the speed does not rise while Up is held"
    grep -q "No sound" "$err" && fail "the race ran silent under the dummy sound driver"
}

# PICTURE X Y: sets colour to the pixel's "r,g,b".
pixelOf() { colour=$(convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:); }
sizeOf() { geometry=$(xwininfo -id "$window"); size=$(echo "$geometry" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }'); }
waitForSize() {  # WxH SECONDS
    local deadline=$((SECONDS + $2))
    while [ $SECONDS -lt $deadline ]; do sizeOf; [ "$size" = "$1" ] && return 0; sleep 0.1; done
    fail "the window is $size, not $1, $2 s on"
}
# NAME CHECK...: shoots until CHECK (a command run after each shot) holds, 30 s at most. The
# picture follows a resize, a drag or F11 some frames late, later still on a loaded machine.
shootUntil() {
    local name=$1 deadline=$((SECONDS + 30))
    shift
    while :; do
        shoot "$name"
        "$@" && return 0
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.1
    done
}
stemDoubled() { pixelOf "$shotFile" 291 81; [ "$colour" = "255,255,255" ]; }
zoomedFromDoubled() {
    error=$(compare -metric RMSE "$shotFile" "$doubled" null: 2>&1 | sed 's/.*(\(.*\))/\1/')
    awk -v e="$error" 'BEGIN { exit !(e >= 0.02) }'
}
barsShown() {
    pixelOf "$shotFile" 640 10
    [ "$colour" = "0,0,0" ] || return 1
    pixelOf "$shotFile" 291 $((81 + 32))
    [ "$colour" = "255,255,255" ]
}
scale() {
    command -v import >/dev/null || { echo "SKIP: ImageMagick is not installed"; exit 77; }
    shoot small
    local small=$shotFile
    timeout 5 xdotool windowsize --sync "$window" 1280 960
    waitForSize 1280x960 10
    shootUntil doubled stemDoubled
    local doubled=$shotFile
    # A white pixel of the title's "T" stem, at its place on the doubled picture.
    pixelOf "$small" 145 40
    echo "the T's stem at 145,40: $colour"
    [ "$colour" = "255,255,255" ] || fail "no white T stem at 145,40 on the small picture"
    pixelOf "$doubled" 291 81
    echo "at 291,81 on the doubled picture: $colour"
    [ "$colour" = "255,255,255" ] || fail "the T's stem is not at its doubled place"
    # The doubled shot halved again is the small one, but for edges that fall between pixels.
    local error halved="$outdir/session-race-halved.ppm"
    convert "$doubled" -scale 50% "$halved"
    error=$(compare -metric RMSE "$halved" "$small" null: 2>&1 | sed 's/.*(\(.*\))/\1/')
    echo "root-mean-square difference of the halved doubled picture: $error (at most 0.06)"
    awk -v e="$error" 'BEGIN { exit !(e <= 0.06) }' || fail "the doubled picture is not the small one scaled"

    # Dragging the pointer up with the right button held enlarges the view.
    timeout 5 xdotool mousemove --window "$window" 640 700 mousedown 3
    for y in 650 600 550 500 450 400; do timeout 5 xdotool mousemove --window "$window" 640 $y; sleep 0.05; done
    timeout 5 xdotool mouseup 3
    shootUntil zoomed zoomedFromDoubled
    echo "root-mean-square change after the drag: $error (at least 0.02)"
    awk -v e="$error" 'BEGIN { exit !(e >= 0.02) }' || fail "the right-button drag did not zoom"

    # A desktop full screen is the window manager's to give; none runs in the other scenarios.
    if ! command -v openbox >/dev/null; then
        press Escape "$window"
        waitForExit 10
        echo "SKIP: F11 not checked, openbox is not installed"
        exit 77
    fi
    openbox >/dev/null 2>&1 &
    local deadline=$((SECONDS + 30))
    until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
        [ $SECONDS -lt $deadline ] || fail "openbox did not start"
        sleep 0.1
    done
    # Once the manager has framed the window it gives the focus only through activation.
    until xwininfo -id "$window" -children 2>/dev/null | grep -q 'Parent window id: 0x[0-9a-f]* (has no name)'; do
        [ $SECONDS -lt $deadline ] || fail "openbox did not frame the window"
        sleep 0.1
    done
    timeout 5 xdotool windowactivate --sync "$window" >/dev/null 2>&1
    timeout 5 xdotool key F11
    waitForSize 1280x1024 10
    echo "F11: full screen"
    # 1280x1024 holds the picture doubled, with 32-row black bars above and below it.
    shootUntil fullscreen barsShown
    pixelOf "$shotFile" 640 10
    echo "the top bar at 640,10: $colour"
    [ "$colour" = "0,0,0" ] || fail "the bar above the picture is not black"
    pixelOf "$shotFile" 291 $((81 + 32))
    [ "$colour" = "255,255,255" ] || fail "the doubled picture is not centred between the bars"
    timeout 5 xdotool key F11
    waitForSize 1280x960 10
    echo "F11 again: the window"
}

# TEXT X Y R G B stands on the last shot (a check for shootUntil).
showsText() { "$screenText" "$shotFile" "$images" is "$2" "$3" "$4" "$5" "$6" "$1" >/dev/null 2>&1; }
helpShown() { showsText "KEYS AND BUTTONS" 212 436 1 1 1; }
titleShown() { showsText "TRAILER DASH" 140 422 1 1 1 && ! helpShown; }
help() {
    screenText=${TD_SCREEN_TEXT:?}
    images=${TD_BUILD_DIR:?}/images
    command -v import >/dev/null || { echo "SKIP: ImageMagick is not installed"; exit 77; }
    shootUntil title titleShown || fail "no title before H"
    press h "$window"
    shootUntil help helpShown || fail "no help on $shotFile after H"
    echo "H: the help shows"
    # Held across many frames: the first closes the help, none of the others quits.
    press Escape "$window"
    shootUntil closed titleShown || fail "the title is not back on $shotFile after Escape"
    alive || fail "Escape quit the game instead of closing the help"
    echo "Escape: the help closed, the game runs on"
}

# The records of course 0 as the title must show them, "mm:ss:hh" as the game writes times.
recordText() {  # KIND: lap or race
    awk -v kind="$1" '$1 == kind && $2 == 0 {
        t = $3; printf "%02d:%02d:%02d", int(int(t) / 60), int(t - 60 * int(t / 60)), int((t - int(t)) * 100)
    }' "$kept/records"
}
records() {
    screenText=${TD_SCREEN_TEXT:?}
    images=${TD_BUILD_DIR:?}/images
    command -v import >/dev/null || { echo "SKIP: ImageMagick is not installed"; exit 77; }
    shoot title
    expectText "TRAILER DASH" 140 422 1 1 1
    expectText "Best lap  $(recordText lap)" 140 158 1 1 0
    expectText "Best race $(recordText race)" 140 126 1 1 0
    echo "the title shows: Best lap $(recordText lap), Best race $(recordText race)"
    # A short race of our own, quit while it runs.
    rm -f "$kept/last.replay"
    press space "$window"
    timeout 5 xdotool keydown Up
    sleep 1.5
    timeout 5 xdotool keyup Up
}
replayKept() {
    [ -f "$kept/last.replay" ] || fail "the race that was quit left no replay"
    local code=0
    local played=$outdir/session-records-replay.txt
    "$TD_RUNNER" --replay "$kept/last.replay" --data "$TD_BUILD_DIR" --draw-every 0 >"$played" 2>&1 || code=$?
    # 1: played, but the race was not finished; 2 would be a refusal.
    [ "$code" -le 1 ] || { cat "$played"; fail "the runner refused the game's replay"; }
    grep -q "in [1-9][0-9]* frames" "$played" || fail "the replay played no frames"
    echo "the runner played the game's replay: $(grep -o 'in [0-9]* frames' "$played")"
}

geometry=$(xwininfo -id "$window")
width=$(echo "$geometry" | awk '/Width:/ { print $2 }')
height=$(echo "$geometry" | awk '/Height:/ { print $2 }')
echo "window $window: ${width}x${height}"
[ "$width" = 640 ] && [ "$height" = 480 ] || fail "the window is ${width}x${height}, not 640x480"

if [ "$scenario" != start ]; then
    sleep 1
    alive || fail "the game did not keep running"
    command -v import >/dev/null && import -window "$window" "$outdir/session-$scenario.png" 2>/dev/null
fi

case "$scenario" in
race)
    race
    press Escape "$window"
    ;;
records)
    records
    press Escape "$window"
    ;;
scale)
    scale
    press Escape "$window"
    ;;
help)
    help
    press Escape "$window"
    ;;
close)
    "$closer" "$window" || fail "the close request could not be sent"
    ;;
terminate)
    kill -TERM "$pid"
    ;;
interruptrace | terminaterace)
    press space "$window"
    press Up "$window"
    alive || fail "the game ended during the race"
    if [ "$scenario" = interruptrace ]; then kill -INT "$pid"; else kill -TERM "$pid"; fi
    ;;
hide)
    timeout 5 xdotool windowunmap --sync "$window"
    sleep 1
    alive || fail "the game ended while its window was hidden"
    timeout 5 xdotool windowmap --sync "$window"
    sleep 0.5
    press Escape "$window"
    ;;
*)
    press Escape "$window"
    ;;
esac
waitForExit 10
echo "exit code: $status"
[ "$status" -eq 0 ] || fail "exit code $status, not 0"
[ "$scenario" = records ] && replayKept
echo "PASS ($scenario)"
