#!/usr/bin/env bash
# generateSeeds.sh RUNNER DATA COUNT [FIRST]: `--generate` for COUNT consecutive seeds from FIRST
# (default 1). Each offered course must be proved (the four computer trucks finish all six laps:
# 24 laps), written as a file that reads back, and raced again from that file to the end. Prints
# the courses' lengths, the computer trucks' lap times, the seeds rejected and the time taken per
# course; the time is a figure, not a verdict (bench/README.md has the measured ones).
set -u
runner=$1; data=$2; count=$3; first=${4:-1}
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
fail=0
: >"$work/figures"
for ((seed = first; seed < first + count; seed++)); do
  if ! "$runner" --data "$data" --generate "$seed" --save "$work/s.course" >"$work/out" 2>&1; then
    echo "seed $seed: not generated: $(tr '\n' ' ' <"$work/out")"; fail=1; continue
  fi
  # "Length: 24 tiles (...)", "Computer laps: best 14.57 s, mean 16.10 s over 24 laps",
  # "Seeds rejected: 0", "Generated and proved in 0.026 s"
  read -r tiles best mean laps rejected seconds < <(awk '
    /^Length:/ {t = $2} /^Computer laps:/ {b = $4; m = $7; l = $10}
    /^Seeds rejected:/ {r = $3} /^Generated and proved in/ {s = $5}
    END {print t, b, m, l, r, s}' "$work/out")
  if [ "$laps" != 24 ]; then echo "seed $seed: $laps computer laps, not 24"; fail=1; fi
  if ! "$runner" --data "$data" --course "$work/s.course" --idle --draw-every 0 >"$work/raced" 2>&1; then
    echo "seed $seed: its file not raced again: $(tr '\n' ' ' <"$work/raced")"; fail=1
  fi
  echo "$tiles $best $mean $rejected $seconds" >>"$work/figures"
done
# Minimum, median and maximum of column c.
spread() { sort -g -k"$1","$1" "$work/figures" | awk -v c="$1" '{v[NR] = $c} END {printf "%s / %s / %s", v[1], v[int((NR + 1) / 2)], v[NR]}'; }
echo "$count seeds from $first: $(wc -l <"$work/figures") courses offered"
echo "length in tiles (least / median / most): $(spread 1)"
echo "computer trucks' best lap, s: $(spread 2)"
echo "computer trucks' mean lap, s: $(spread 3)"
awk -v n="$count" '{r += $4} END {printf "seeds rejected: %d of %d tried (%.1f %%)\n", r, n + r, 100 * r / (n + r)}' "$work/figures"
echo "generated and proved per course, s: $(spread 5)"
[ $fail -eq 0 ] && echo "PASS (generated seeds)"
exit $fail
