#!/usr/bin/env bash
# runnerSpeed.sh RUNS BUILD... : `trailerdash-runner --races 40 --draw-every 0` of each build in
# turns, RUNS rounds, so that a shared machine's load falls on every build alike. Prints each
# run's end-to-end speed (the frames' real time over the wall time, start-up included) and its
# user CPU time, then each build's median and best speed.
set -e
runs=$1; shift
declare -A all
for ((r = 1; r <= runs; r++)); do
  for b in "$@"; do
    cpu=$( { cd "$b" && /usr/bin/time -f "%U" ./tools/trailerdash-runner --races 40 --draw-every 0 >"/tmp/runnerSpeed.$$"; } 2>&1 | tail -1)
    # Frames at 60 a second, the runner's default, so older builds that print no speed are measured alike.
    read -r speed wall < <(awk '/^Simulated:/ {f += $(NF - 1)} /^Wall clock:/ {w = $3} END {printf "%.0f %.2f\n", f / 60 / w, w}' "/tmp/runnerSpeed.$$")
    echo "round $r $b: ${speed}x, $wall s wall, $cpu s user CPU"
    all[$b]+="$speed "
  done
done
rm -f "/tmp/runnerSpeed.$$"
for b in "$@"; do
  tr ' ' '\n' <<<"${all[$b]}" | grep . | sort -n |
    awk -v b="$b" '{v[NR] = $1} END {m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2;
      printf "%s: median %.0fx, best %.0fx over %d runs\n", b, m, v[NR], NR}'
done
