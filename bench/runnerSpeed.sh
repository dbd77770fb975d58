#!/usr/bin/env bash
# runnerSpeed.sh RUNS BUILD... : trailerdash-runner --races 40 --draw-every 0 of each build in
# turns, RUNS rounds, so that a shared machine's load falls on every build alike. Prints each
# run's end-to-end speed (frames' real time / wall time) and each build's median and best.
set -e
runs=$1; shift
declare -A all
for ((r = 1; r <= runs; r++)); do
  for b in "$@"; do
    out=$(cd "$b" && ./tools/trailerdash-runner --races 40 --draw-every 0)
    # Simulated time as the frames' real time: 60 frames a second, the runner's default.
    speed=$(awk '/^Simulated:/ {f += $(NF - 1)} /^Wall clock:/ {w = $3} END {printf "%.0f %.2f", f / 60 / w, w}' <<<"$out")
    echo "round $r $b: ${speed% *}x in ${speed#* } s"
    all[$b]+="${speed% *} "
  done
done
for b in "$@"; do
  tr ' ' '\n' <<<"${all[$b]}" | grep . | sort -n |
    awk -v b="$b" '{v[NR] = $1} END {m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2;
      printf "%s: median %.0fx, best %.0fx over %d runs\n", b, m, v[NR], NR}'
done
