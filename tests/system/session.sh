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
# Every wait has a deadline and the run has a time limit of its own; every failure names the
# check under way (helpers.sh). Exit 0 passed, 1 failed, 77 skipped. A sanitizer report on the
# game's stderr fails any scenario.
game=$1
closer=$2
scenario=$3
outdir=${4:-.}
testName=$scenario
. "$(dirname "$0")/helpers.sh"
# The run's own limit, in seconds; the outer timeout and ctest's lie beyond it, so a starved run
# reports what it was waiting for instead of being killed in silence.
sessionLimit=${TD_SESSION_LIMIT:-300}

if [ "$scenario" = nodisplay ]; then
    check "a game program at $game (did the build fail?)" test -x "$game"
    mkdir -p "$outdir"
    err="$outdir/session-$scenario.stderr"
    step "the game started with no display"
    status=0
    timeout 30 env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$game" 2>"$err" || status=$?
    echo "exit code $status; stderr: $(cat "$err")"
    check "the game ends within 30 s" test $status -ne 124
    check "a failure exit without a window" test $status -ne 0
    check "a \"no display\" message on stderr" grep -q "no display" "$err"
    echo "PASS ($scenario)"
    exit 0
fi

if [ "${TD_SESSION_INNER:-}" != 1 ]; then
    check "a game program at $game (did the build fail?)" test -x "$game"
    for tool in xvfb-run xwininfo xdotool timeout; do
        command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
    done
    # A random first server number keeps runs started at the same moment (other builds'
    # tests) from racing for the same display.
    screen=1280x1024x24
    if [ "$scenario" = smallscreen ]; then screen=320x240x24; fi
    TD_SESSION_INNER=1 exec timeout $((sessionLimit + 60)) \
        xvfb-run -a -n $((200 + RANDOM % 700)) -s "-screen 0 $screen" "$0" "$@"
fi

timeLimit "$sessionLimit"
scratch=$(mktemp -d)
pid=""
# Shots to look at: the last of each name as PNG, made once at the end, not at every retake.
declare -A shots=()
toPng() { local f; for f in "${!shots[@]}"; do convert "$f" "${f%.ppm}.png" 2>/dev/null || true; done; }
trap 'endTimeLimit; toPng; rm -rf "$scratch"' EXIT
# What a failure shows besides its message: the windows and the game's stderr.
onFail() {
    echo "--- windows:"
    xwininfo -root -tree 2>/dev/null | grep ' 0x' | head -20
    echo "--- display ${DISPLAY:-}; game's stderr:"
    cat "${err:-/dev/null}"
    [ -z "$pid" ] || kill -9 "$pid" 2>/dev/null
}

# The game's first box must not race the server's start.
serverUp() { xwininfo -root >/dev/null 2>&1; }
waitFor 30 "the X server to answer" serverUp

# SDL must use the X server, whatever the calling shell asked for.
unset SDL_VIDEODRIVER
# The race is played with its sound on, through the driver that needs no sound card; the other
# scenarios find whatever the machine has (often nothing: the game then runs silent).
if [ "$scenario" = race ]; then export SDL_AUDIODRIVER=dummy; fi
mkdir -p "$outdir"
err="$outdir/session-$scenario.stderr"
workdir=$PWD
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
    step "cmake --install into a scratch prefix"
    cmake --install "${TD_BUILD_DIR:?}" --prefix "$scratch/prefix" >/dev/null
    game="$scratch/prefix/bin/trailerdash"
    mkdir "$scratch/elsewhere"
    workdir=$scratch/elsewhere
fi

if [ "$scenario" = package ]; then
    step "the .deb built by cpack"
    (cd "${TD_BUILD_DIR:?}" && cpack -G DEB -B "$scratch/pkg" >"$outdir/session-package-cpack.txt" 2>&1) ||
        { cat "$outdir/session-package-cpack.txt"; fail "cpack"; }
    deb=$(ls "$scratch"/pkg/*.deb | head -1)
    check "dpkg -x $deb" dpkg -x "$deb" "$scratch/root"
    for file in bin/trailerdash share/applications/org.example.trailerdash.desktop \
        share/metainfo/org.example.trailerdash.metainfo.xml share/man/man6/trailerdash.6.gz \
        share/icons/hicolor/64x64/apps/trailerdash.png \
        share/icons/hicolor/256x256/apps/trailerdash.png share/trailerdash/images/text/impactVerdana16.dat; do
        check "/usr/$file in $deb" test -f "$scratch/root/usr/$file"
    done
    if command -v desktop-file-validate >/dev/null; then
        check "the desktop entry validates" \
            desktop-file-validate "$scratch/root/usr/share/applications/org.example.trailerdash.desktop"
    fi
    echo "$(basename "$deb"): $(dpkg-deb -f "$deb" Depends)"
    game="$scratch/root/usr/bin/trailerdash"
    mkdir "$scratch/elsewhere"
    workdir=$scratch/elsewhere
fi
if [ "$scenario" = records ]; then
    step "a whole race kept by the runner"
    "${TD_RUNNER:?}" --keep --track 0 --data "${TD_BUILD_DIR:?}" --draw-every 0 >"$outdir/session-records-runner.txt" ||
        fail "the runner's race did not finish"
    check "a records file in $kept" test -f "$kept/records"
    cat "$kept/records"
fi

# A background job of a script starts with SIGINT ignored; the game gets it as from a terminal.
unsetVars=()
if [ "$scenario" = noenv ]; then unsetVars=(-u HOME -u XDG_RUNTIME_DIR); fi
(cd "$workdir" && exec env "${unsetVars[@]}" --default-signal=INT "$game" 3>&-) 2>"$err" &
pid=$!

alive() { kill -0 "$pid" 2>/dev/null; }
gameEnded() { ! alive; }
# The top-level windows as "id name" lines; an unnamed window is "(has no name)".
windows() { xwininfo -root -tree 2>/dev/null | awk '/^     0x/ { id = $1; sub(/^ *0x[0-9a-f]+ /, ""); sub(/: \(.*$/, ""); print id, $0 }'; }
windowNamed() { windows | awk -v name="\"$1\"" 'substr($0, index($0, " ") + 1) == name { print $1; exit }'; }
windowGone() { ! xwininfo -id "$1" >/dev/null 2>&1; }
# A focus that fails shows as the key's effect missing, which the caller checks.
focus() { timeout 10 xdotool windowfocus --sync "$1" >/dev/null 2>&1 || true; }
# KEY BOX: one of the game's message boxes acts on the key's release, whenever it comes.
answerBox() {
    step "answering the box $2 with $1"
    focus "$2"
    timeout 10 xdotool key "$1"
    waitFor 30 "the box $2 to close after $1" windowGone "$2"
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
        if [ "$boxesDismissed" -ge 200 ]; then fail "more than 200 error boxes"; fi
        boxesDismissed=$((boxesDismissed + 1))
        focus "$id"
        timeout 10 xdotool key Return
    done
    unnamedBefore=$unnamedNow
}
# Functions that count boxes or may fail run in this shell, never in $(...), and hand back
# their result in a variable.
windowShown() {  # NAME: sets found to the id
    if ! alive; then fail "the game ended while waiting for \"$1\""; fi
    found=$(windowNamed "$1")
    [ -n "$found" ] && return 0
    dismissBoxes
    return 1
}
waitForWindow() {  # NAME SECONDS: sets found to the id
    waitFor "$2" "a window \"$1\"" windowShown "$1"
}
waitForExit() {  # SECONDS: sets status
    waitFor "$1" "the game to end" gameEnded
    status=0
    wait "$pid" || status=$?
    if grep -qE "Sanitizer|runtime error" "$err"; then fail "a sanitizer report"; fi
}
# Escape held on the game's window until the game has ended; the exit code in status.
quitWithEscape() {
    holdKeyUntil Escape "$window" 60 "the game to end" gameEnded
    waitForExit 10
}

waitForWindow "Run Fullscreen?" 60
question=$found
if [ "$scenario" = nodata ]; then
    check "a box told that the data folder is missing" test "$boxesDismissed" -ge 1
    check "stderr names the missing images folder" grep -q 'no "images" folder' "$err"
fi
if [ "$scenario" = installed ] || [ "$scenario" = package ]; then
    check "the installed game finds its data folder" test "$boxesDismissed" -eq 0
fi
case "$scenario" in
fullscreen)
    answerBox Return "$question"
    waitForWindow "Error" 30
    answerBox Return "$found"
    check "the refusal text on stderr" grep -q "The screen mode was not supported by your display" "$err"
    ;;
closequestion)
    step "the question's close request"
    check "the close request could be sent" "$closer" "$question"
    ;;
interruptquestion)
    step "SIGINT at the question"
    kill -INT "$pid"
    waitForExit 30
    echo "exit code: $status"
    check "exit code 0 (it was $status)" test "$status" -eq 0
    echo "PASS ($scenario)"
    exit 0
    ;;
*)
    answerBox Escape "$question"
    ;;
esac

waitForWindow "GL Framework" 60
window=$found
# Whatever the loaders report while the game loads is answered too, until the boxes stop.
step "answering the loaders' boxes"
quiet=0
loadDeadline=$((SECONDS + 60))
while [ $quiet -lt 10 ] && [ $SECONDS -lt $loadDeadline ]; do
    before=$boxesDismissed
    dismissBoxes
    if [ $boxesDismissed -eq $before ] && [ "$unnamedBefore" = " " ]; then quiet=$((quiet + 1)); else quiet=0; fi
    sleep 0.1
done
echo "error boxes answered: $boxesDismissed"
if { [ "$scenario" = installed ] || [ "$scenario" = package ]; } && [ -d "$TD_BUILD_DIR/images/text" ]; then
    check "the installed game finds all its pictures" test "$boxesDismissed" -eq 0
fi

# Screenshot NAME: session-race-NAME.ppm to read, .png to look at.
shoot() {
    local base="$outdir/session-race-$1"
    grabWindow "$window" "$base.ppm" -depth 8 || fail "no screenshot $1"
    shotFile=$base.ppm
    shots[$shotFile]=1
}
# TEXT X Y R G B must stand on the last shot.
expectText() {
    "$screenText" "$shotFile" "$images" is "$2" "$3" "$4" "$5" "$6" "$1" || fail "no \"$1\" at $2, $3 on $shotFile"
}
screenTools() {
    screenText=${TD_SCREEN_TEXT:?}
    images=${TD_BUILD_DIR:?}/images
    command -v import >/dev/null || { echo "SKIP: ImageMagick is not installed"; exit 77; }
}
# NAME: shoots and sets clock and speed to the HUD's values on that shot; fails when either
# does not read (the world scrolls under the HUD, and a light patch behind a digit can spoil it).
hudReads() {
    shoot "$1"
    clock=$("$screenText" "$shotFile" "$images" read 10 415 8 2>/dev/null) &&
        speed=$("$screenText" "$shotFile" "$images" read 10 10 2 2>/dev/null)
}
# NAME: the race's HUD, with clock and speed read off a shot called NAME.
raceShown() { hudReads "$1" && "$screenText" "$shotFile" "$images" is 10 440 1 1 0 "Total  Time" 2>/dev/null; }
# Space held on the title until the race's HUD shows.
startRace() {
    holdKeyUntil space "$window" 60 "the race's HUD" raceShown start
}
# Up held until the HUD reads a speed: a race under way.
moving() { hudReads moving && [ "${speed// /}" -gt 0 ]; }
race() {
    screenTools
    shoot title
    expectText "TRAILER DASH" 140 422 1 1 1
    expectText "Press SPACE to start" 196 22 1 1 1
    if "$screenText" "$shotFile" "$images" read 10 415 8 >/dev/null 2>&1; then fail "a race clock shows on the title"; fi
    startRace
    clock0=$clock
    speed0=$speed
    expectText "Total  Time" 10 440 1 1 0
    expectText "Speed" 10 40 0 1 0
    check "the truck stands still before Up (speed '$speed0')" test "$speed0" = " 0"
    # Up goes down only now: held from before Space it would not put the truck in gear.
    step "six new frames with Up held"
    focus "$window"
    timeout 10 xdotool keydown Up
    # Held straight on, the truck meets a wall within about three seconds. On a loaded machine
    # a shot and its reading take seconds, so a burst of bare shots comes first and is read after;
    # a shot the same as the one before is no new frame and is taken again.
    local shot=0 file previous="" c s previousClock=$clock0 previousSpeed=-1 readings="" rose=0 readable=0
    local deadline=$((SECONDS + 60))
    while [ $shot -lt 6 ]; do
        [ $SECONDS -lt $deadline ] || { timeout 10 xdotool keyup Up; fail "no six new frames in 60 s"; }
        file=$outdir/session-race-up$((shot + 1)).ppm
        grabWindow "$window" "$file" -depth 8 || fail "no screenshot $file"
        shots[$file]=1
        if [ -n "$previous" ] && cmp -s "$file" "$previous"; then
            sleep 0.1
            continue
        fi
        shot=$((shot + 1))
        previous=$file
        sleep 0.2
    done
    timeout 10 xdotool keyup Up
    step "reading the clock and speed off the six shots"
    for shot in 1 2 3 4 5 6; do
        file=$outdir/session-race-up$shot.ppm
        # A light patch behind a digit can spoil a reading; that shot is left out.
        c=$("$screenText" "$file" "$images" read 10 415 8 2>/dev/null) || continue
        s=$("$screenText" "$file" "$images" read 10 10 2 2>/dev/null) || continue
        s=${s// /}
        readings+="$c $s, "
        readable=$((readable + 1))
        [[ "$previousClock" < "$c" ]] || fail "the race clock does not run ($readings)"
        if [ "$previousSpeed" -ge 0 ] && [ "$s" -gt "$previousSpeed" ]; then rose=1; fi
        previousClock=$c
        previousSpeed=$s
    done
    echo "start: $clock0, speed '$speed0'; with Up held (clock, speed): $readings"
    check "two of the six shots with Up held read cleanly" test $readable -ge 2
    check "the speed rises while Up is held" test $rose -eq 1
    if grep -q "No sound" "$err"; then fail "the race ran silent under the dummy sound driver"; fi
}

# PICTURE X Y: sets colour to the pixel's "r,g,b".
pixelOf() { colour=$(convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:); }
sizeOf() { size=$(xwininfo -id "$window" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }'); }
sizeIs() { sizeOf; [ "$size" = "$1" ]; }
# NAME CHECK...: shoots until CHECK (a command run after each shot) holds. The picture follows a
# resize, a drag or F11 some frames late, later still on a loaded machine.
shotShows() {
    shoot "$1"
    shift
    "$@"
}
stemDoubled() { pixelOf "$shotFile" 291 81; [ "$colour" = "255,255,255" ]; }
zoomedFromDoubled() {
    shoot zoomed
    error=$(compare -metric RMSE "$shotFile" "$doubled" null: 2>&1 | sed 's/.*(\(.*\))/\1/')
    awk -v e="$error" 'BEGIN { exit !(e >= 0.02) }'
}
barsShown() {
    pixelOf "$shotFile" 640 10
    [ "$colour" = "0,0,0" ] || return 1
    pixelOf "$shotFile" 291 $((81 + 32))
    [ "$colour" = "255,255,255" ]
}
managerRuns() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
windowFramed() { xwininfo -id "$window" -children 2>/dev/null | grep -q 'Parent window id: 0x[0-9a-f]* (has no name)'; }
scale() {
    command -v import >/dev/null || { echo "SKIP: ImageMagick is not installed"; exit 77; }
    shoot small
    local small=$shotFile
    step "resizing the window to 1280x960"
    timeout 10 xdotool windowsize --sync "$window" 1280 960 || true
    waitFor 60 "the window to be 1280x960" sizeIs 1280x960
    waitFor 60 "the doubled title picture (white at 291,81)" shotShows doubled stemDoubled
    local doubled=$shotFile
    # A white pixel of the title's "T" stem, at its place on the doubled picture.
    step "the T's stem on the small and the doubled picture"
    pixelOf "$small" 145 40
    echo "the T's stem at 145,40: $colour"
    check "a white T stem at 145,40 on the small picture" test "$colour" = "255,255,255"
    pixelOf "$doubled" 291 81
    echo "at 291,81 on the doubled picture: $colour"
    check "the T's stem at its doubled place" test "$colour" = "255,255,255"
    # The doubled shot halved again is the small one, but for edges that fall between pixels.
    step "the doubled picture halved against the small one"
    local error halved="$outdir/session-race-halved.ppm"
    convert "$doubled" -scale 50% "$halved"
    error=$(compare -metric RMSE "$halved" "$small" null: 2>&1 | sed 's/.*(\(.*\))/\1/')
    echo "root-mean-square difference of the halved doubled picture: $error (at most 0.06)"
    awk -v e="$error" 'BEGIN { exit !(e <= 0.06) }' || fail "the doubled picture is not the small one scaled"

    # Dragging the pointer up with the right button held enlarges the view. The zoom follows the
    # pointer's move between frames with the button down, so the button stays down until the
    # picture has changed.
    step "a right-button drag up"
    timeout 10 xdotool mousemove --window "$window" 640 700 mousedown 3
    local y
    for y in 650 600 550 500 450 400; do
        timeout 10 xdotool mousemove --window "$window" 640 $y
        zoomedFromDoubled && break
    done
    waitFor 60 "the view to zoom while the right button is held" zoomedFromDoubled
    timeout 10 xdotool mouseup 3
    echo "root-mean-square change after the drag: $error (at least 0.02)"

    # A desktop full screen is the window manager's to give; none runs in the other scenarios.
    if ! command -v openbox >/dev/null; then
        quitWithEscape
        echo "SKIP: F11 not checked, openbox is not installed"
        exit 77
    fi
    openbox >/dev/null 2>&1 3>&- &
    waitFor 60 "openbox to start" managerRuns
    # Once the manager has framed the window it gives the focus only through activation.
    waitFor 60 "openbox to frame the window" windowFramed
    timeout 10 xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
    # A held F11 toggles once.
    holdKeyUntil F11 "$window" 60 "the full screen 1280x1024" sizeIs 1280x1024
    echo "F11: full screen"
    # 1280x1024 holds the picture doubled, with 32-row black bars above and below it.
    waitFor 60 "black bars round the doubled picture" shotShows fullscreen barsShown
    pixelOf "$shotFile" 640 10
    echo "the top bar at 640,10: $colour"
    pixelOf "$shotFile" 291 $((81 + 32))
    echo "at 291,113 between the bars: $colour"
    holdKeyUntil F11 "$window" 60 "the window 1280x960 again" sizeIs 1280x960
    echo "F11 again: the window"
}

# TEXT X Y R G B stands on the last shot (a check for shootUntil).
showsText() { "$screenText" "$shotFile" "$images" is "$2" "$3" "$4" "$5" "$6" "$1" >/dev/null 2>&1; }
helpShown() { showsText "KEYS AND BUTTONS" 212 436 1 1 1; }
titleShown() { showsText "TRAILER DASH" 140 422 1 1 1 && ! helpShown; }
help() {
    screenTools
    waitFor 60 "the title" shotShows title titleShown
    holdKeyUntil h "$window" 60 "the help after H" shotShows help helpShown
    echo "H: the help shows"
    # Held across many frames: the first closes the help, none of the others quits.
    holdKeyUntil Escape "$window" 60 "the title back after Escape" shotShows closed titleShown
    check "Escape closed the help and did not quit the game" alive
    echo "Escape: the help closed, the game runs on"
}

# The records of course 0 as the title must show them, "mm:ss:hh" as the game writes times.
recordText() {  # KIND: lap or race
    awk -v kind="$1" '$1 == kind && $2 == 0 {
        t = $3; printf "%02d:%02d:%02d", int(int(t) / 60), int(t - 60 * int(t / 60)), int((t - int(t)) * 100)
    }' "$kept/records"
}
records() {
    screenTools
    shoot title
    expectText "TRAILER DASH" 140 422 1 1 1
    expectText "Best lap  $(recordText lap)" 140 158 1 1 0
    expectText "Best race $(recordText race)" 140 126 1 1 0
    echo "the title shows: Best lap $(recordText lap), Best race $(recordText race)"
    # A short race of our own, quit while it runs.
    rm -f "$kept/last.replay"
    startRace
    holdKeyUntil Up "$window" 60 "the truck to move" moving
}
replayKept() {
    step "the runner playing the game's replay"
    check "the race that was quit left a replay" test -f "$kept/last.replay"
    local code=0
    local played=$outdir/session-records-replay.txt
    "$TD_RUNNER" --replay "$kept/last.replay" --data "$TD_BUILD_DIR" --draw-every 0 >"$played" 2>&1 || code=$?
    # 1: played, but the race was not finished; 2 would be a refusal.
    [ "$code" -le 1 ] || { cat "$played"; fail "the runner refused the game's replay"; }
    check "the replay played some frames" grep -q "in [1-9][0-9]* frames" "$played"
    echo "the runner played the game's replay: $(grep -o 'in [0-9]* frames' "$played")"
}

step "the window's size"
geometry=$(xwininfo -id "$window")
width=$(echo "$geometry" | awk '/Width:/ { print $2 }')
height=$(echo "$geometry" | awk '/Height:/ { print $2 }')
echo "window $window: ${width}x${height}"
check "a 640x480 window (it is ${width}x${height})" test "$width" = 640 -a "$height" = 480

if [ "$scenario" != start ]; then
    # A second of frames: the game keeps running once its window shows.
    step "the game still running a second on"
    sleep 1
    check "the game keeps running" alive
    if command -v import >/dev/null; then import -window "$window" "$outdir/session-$scenario.png" 2>/dev/null || true; fi
fi

case "$scenario" in
race)
    race
    quitWithEscape
    ;;
records)
    records
    quitWithEscape
    ;;
scale)
    scale
    quitWithEscape
    ;;
help)
    help
    quitWithEscape
    ;;
close)
    step "the window's close request"
    check "the close request could be sent" "$closer" "$window"
    waitForExit 30
    ;;
terminate)
    step "SIGTERM"
    kill -TERM "$pid"
    waitForExit 30
    ;;
interruptrace | terminaterace)
    screenTools
    startRace
    holdKeyUntil Up "$window" 60 "the truck to move" moving
    check "the game runs the race" alive
    step "a stop signal during the race"
    if [ "$scenario" = interruptrace ]; then kill -INT "$pid"; else kill -TERM "$pid"; fi
    waitForExit 30
    ;;
hide)
    step "the window hidden for a second"
    timeout 10 xdotool windowunmap --sync "$window"
    # The game must live through a while with no frames.
    sleep 1
    check "the game lives while its window is hidden" alive
    timeout 10 xdotool windowmap --sync "$window"
    quitWithEscape
    ;;
*)
    quitWithEscape
    ;;
esac
echo "exit code: $status"
check "exit code 0 (it was $status)" test "$status" -eq 0
if [ "$scenario" = records ]; then replayKept; fi
echo "PASS ($scenario)"
