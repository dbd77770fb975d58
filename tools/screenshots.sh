#!/usr/bin/env bash
# Saves PNG pictures of the title, a race at the default zoom and zoomed in, the missed-checkpoint
# cue and the results, for both courses, and a championship's standings and podium, as the
# headless runner draws them:
# tools/screenshots.sh DIR [BUILD]
set -eu
out=${1:?usage: tools/screenshots.sh DIR [BUILD]}
build=${2:-build}
here=$(cd "$(dirname "$0")/.." && pwd)
command -v convert >/dev/null || { echo "screenshots.sh: ImageMagick's convert is missing (tools/install-deps.sh)" >&2; exit 2; }
if [ ! -x "$build/tools/trailerdash-runner" ]; then
    cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build" --target trailerdash-runner assets -j 2 >/dev/null
fi
mkdir -p "$out"
raw=$(mktemp -d)
trap 'rm -rf "$raw"' EXIT
# Two races: course 0, then course 1. Undrawn frames keep it quick; the pictures are drawn anyway.
"$build/tools/trailerdash-runner" --races 2 --draw-every 0 --data "$build" --screenshots "$raw" >/dev/null
for ppm in "$raw"/*.ppm; do
    png="$out/$(basename "${ppm%.ppm}").png"
    # A 255-colour palette keeps a picture near 120 KB and looks the same at this size.
    convert "$ppm" -colors 255 "PNG8:$png"
    echo "$png"
done
# A championship of three short races: the standings after the second, and the podium.
mkdir -p "$raw/championship"
"$build/tools/trailerdash-runner" --championship 0,1,random:1:7 --laps 2 --draw-every 0 --data "$build" \
    --screenshots "$raw/championship" >/dev/null
for board in standings:course0-standings2 podium:course0-podium; do
    convert "$raw/championship/${board#*:}.ppm" -colors 255 "PNG8:$out/${board%%:*}.png"
    echo "$out/${board%%:*}.png"
done
# Two players on one screen, one view above the other in the 640x480 picture.
mkdir -p "$raw/two"
"$build/tools/trailerdash-runner" --players 2 --laps 1 --draw-every 0 --data "$build" --screenshots "$raw/two" >/dev/null
convert "$raw/two/course0-race.ppm" -colors 255 "PNG8:$out/twoplayers.png"
echo "$out/twoplayers.png"
