#!/usr/bin/env bash
# The menu and the Options, as a player uses them, in the real game under a virtual X server:
#   menu.sh GAME [OUTDIR]     (TD_SCREEN_TEXT and TD_BUILD_DIR name the tools)
# A settings file saying "start windowed" skips the start question. Return on the title opens
# the menu; the Options take the name "Ada" (typed) and 1 lap, and leaving them writes both to
# the settings file. Quick race then counts down and races one lap with "Ada" on the HUD;
# Escape opens the pause menu instead of quitting and Return resumes; the game's autopilot
# drives the lap (the menus are all real keys), and the results name "Ada". Escape there goes
# back to the title.
# Every wait polls with a deadline; exit 0 passed, 1 failed, 77 skipped.
set -u
game=$1
outdir=${2:-.}
if [ "${TD_MENU_INNER:-}" != 1 ]; then
    [ -x "$game" ] || { echo "FAIL: no game program at $game (did the build fail?)"; exit 1; }
    for tool in xvfb-run xwininfo xdotool timeout import; do
        command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
    done
    # No key repeat for 30 s: the name is typed by held keys, and a loaded machine can hold one
    # past X's usual 660 ms before its release comes, which would type the letter twice.
    TD_MENU_INNER=1 exec timeout 400 xvfb-run -a -n $((200 + RANDOM % 700)) -s "-screen 0 1280x1024x24 -ardelay 30000" \
        "$0" "$@"
fi
source "$(dirname "$0")/helpers.sh"
timeLimit 340
screenText=${TD_SCREEN_TEXT:?}
images=${TD_BUILD_DIR:?}/images
for i in $(seq 50); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.1; done
unset SDL_VIDEODRIVER
export SDL_AUDIODRIVER=dummy
mkdir -p "$outdir"
err="$outdir/menu.stderr"
scratch=$(mktemp -d)
export XDG_DATA_HOME=$scratch/data XDG_CONFIG_HOME=$scratch/config
settings=$XDG_CONFIG_HOME/trailerdash/settings
mkdir -p "$(dirname "$settings")"
printf 'trailerdash settings 1\nstart windowed\n' >"$settings"
"$game" --autopilot 2>"$err" &
pid=$!
onFail() { echo "--- game's stderr:"; cat "$err"; echo "--- settings:"; cat "$settings"; kill -9 "$pid" 2>/dev/null; }
trap 'endTimeLimit; rm -rf "$scratch"' EXIT

shot=$outdir/menu.ppm
# TEXT X Y R G B: on a fresh screenshot.
shows() {
    grabWindow "$window" "$shot" -depth 8 || return 1
    "$screenText" "$shot" "$images" is "$2" "$3" "$4" "$5" "$6" "$1" >/dev/null
}
notShows() { grabWindow "$window" "$shot" -depth 8 && ! "$screenText" "$shot" "$images" is "$2" "$3" "$4" "$5" "$6" "$1" >/dev/null; }
# KEYS: held together for half a second, so several frames see them.
press() {
    local k
    for k in $1; do timeout 5 xdotool keydown "$k"; done
    sleep 0.4
    for k in $1; do timeout 5 xdotool keyup "$k"; done
    sleep 0.2
}
alive() { kill -0 "$pid" 2>/dev/null; }
gameWindow() { window=$(windowNamed "GL Framework"); [ -n "$window" ]; }

waitFor 60 "the game's window, with no start question" gameWindow
waitFor 60 "the title's menu hint" shows "Return menu" 340 422 1 1 0
holdKeyUntil Return "$window" 30 "the menu, Quick race chosen" shows "Quick race" 160 370 1 1 0
grabWindow "$window" "$outdir/menu-menu.png" || true
press Up
press Up
waitFor 30 "Options chosen in the menu" shows "Options" 160 170 1 1 0
holdKeyUntil Return "$window" 30 "the Options screen" shows "OPTIONS" 150 424 1 1 1
step "typing the name Ada and choosing one lap"
press Return
press "Shift_L a"
press d
press a
press Return
press Down
press Down
for i in 1 2 3 4 5 6; do press Left; done
grabWindow "$window" "$outdir/menu-options.png" || true
holdKeyUntil Escape "$window" 30 "the menu again" shows "Options" 160 170 1 1 0
check "the game still runs after Escape in the Options" alive
hasSettings() { grep -qx "name Ada" "$settings" && grep -qx "laps 1" "$settings"; }
waitFor 30 "the settings file with the name and the laps" hasSettings
press Down
press Down
waitFor 30 "Quick race chosen again" shows "Quick race" 160 370 1 1 0
holdKeyUntil Return "$window" 30 "the race's HUD: lap 1 of 1" shows "1/1" 370 415 1 1 1
waitFor 30 "the player's name on the HUD" shows "Ada" 250 376 1 1 1
grabWindow "$window" "$outdir/menu-countdown.png" || true
holdKeyUntil Escape "$window" 30 "the pause menu" shows "PAUSED" 160 422 1 1 1
check "the game still runs after Escape in the race" alive
holdKeyUntil Return "$window" 30 "the race again, resumed" notShows "PAUSED" 160 422 1 1 1
# The results' rows: place p at y 350 - 45p in its place's colour, the name right-aligned in ten cells.
adaInResults() {
    local colours=("1 0.2 0.2" "0.8 0.2 0.4" "0.6 0.2 0.6" "0.4 0.2 0.8" "0.2 0.2 1") p
    grabWindow "$window" "$shot" -depth 8 || return 1
    for p in 0 1 2 3 4; do
        # shellcheck disable=SC2086
        "$screenText" "$shot" "$images" is 210 $((350 - 45 * p)) ${colours[$p]} "       Ada" >/dev/null && return 0
    done
    return 1
}
waitFor 200 "the one lap's results, with Ada among them" adaInResults
grabWindow "$window" "$outdir/menu-results.png" || true
holdKeyUntil Escape "$window" 30 "the title again" shows "Return menu" 340 422 1 1 0
step "Escape on the title quits, as it always has"
timeout 5 xdotool keydown Escape
deadline=$((SECONDS + 30))
while alive; do
    [ $SECONDS -lt $deadline ] || fail "the game did not quit on Escape"
    sleep 0.1
done
timeout 5 xdotool keyup Escape || true
wait "$pid" || fail "the game's exit status was $?"
echo "PASS (menu)"
