#!/usr/bin/env bash
# Races back to back, undrawn, and a check of every row of the trace: no value is NaN or
# infinite, no truck's lap count ever falls within a race, every computer truck ends every race
# with all its laps, and the runner says every truck finished.
#   soak.sh RUNNER BUILD_DIR RACES [KEEP_DIR]   (KEEP_DIR keeps the trace and the results)
set -u
runner=$1
data=$2
races=$3
dir=${4:-}
if [ -z "$dir" ]; then
    dir=$(mktemp -d)
    trap 'rm -rf "$dir"' EXIT
fi
"$runner" --data "$data" --draw-every 0 --races "$races" --trace "$dir/soak.csv" >"$dir/soak.out"
code=$?
grep -E '^(Simulated|Time limit|Wall)' "$dir/soak.out" | tail -3
[ $code -eq 0 ] || { echo "FAIL: runner exit $code (a truck did not finish, or a write failed)"; exit 1; }

# The results give each race's frame count, which splits the trace into races.
awk -v races="$races" '
    FNR == NR {
        if ($1 == "Simulated:") { frames[++n] = $(NF - 1) }
        next
    }
    FNR == 1 { if (n != races) { print "FAIL: " n " races reported, not " races; bad = 1; exit 1 } race = 1; end = frames[1]; next }
    {
        split($0, f, ",")
        frame = f[1] + 0
        while (frame >= end && race < n) { finish(); race++; end += frames[race] }
        for (i = 3; i <= 9; i++)
            if (f[i] !~ /^-?[0-9.]+(e[-+]?[0-9]+)?$/) { print "FAIL: frame " frame " truck " f[2] " field " i ": " f[i]; bad = 1; exit 1 }
        t = f[2]; laps = f[10] + 0
        if (t in lastLaps && laps < lastLaps[t]) { print "FAIL: race " race " truck " t " laps fell from " lastLaps[t] " to " laps " at frame " frame; bad = 1; exit 1 }
        lastLaps[t] = laps
        rows++
    }
    function finish(   t) {
        for (t = 1; t <= 4; t++)
            if (lastLaps[t] < 6) { print "FAIL: race " race ": computer truck " t " ended with " lastLaps[t] " laps"; bad = 1; exit 1 }
        delete lastLaps
    }
    END {
        if (bad) exit 1
        finish()
        if (bad) exit 1
        printf "PASS: %d races, %d trace rows: all finite, laps never fall, every computer truck finished\n", race, rows
    }
' "$dir/soak.out" "$dir/soak.csv"
