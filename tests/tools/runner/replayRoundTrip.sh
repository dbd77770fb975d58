#!/usr/bin/env bash
# A whole race run by the runner with --record, then played by --replay: the same trace, byte
# for byte, and the same results table.
#   replayRoundTrip.sh RUNNER DATA_DIR COURSE
set -euo pipefail
runner=$1 data=$2 course=$3
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$runner" --track "$course" --data "$data" --draw-every 0 --trace "$dir/raced.csv" --record "$dir/race.replay" |
    grep -v '^Wall clock' >"$dir/raced.txt"
"$runner" --replay "$dir/race.replay" --data "$data" --draw-every 0 --trace "$dir/replayed.csv" |
    grep -v '^Wall clock' >"$dir/replayed.txt"
cat "$dir/replayed.txt"
echo "replay: $(stat -c %s "$dir/race.replay") bytes; trace: $(wc -l <"$dir/raced.csv") lines"
cmp "$dir/raced.csv" "$dir/replayed.csv"
diff "$dir/raced.txt" "$dir/replayed.txt"
echo "course $course: the replay ran the same race"
