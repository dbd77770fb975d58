#!/usr/bin/env bash
# Fresh starts of the game, each under its own new X server: every one must show its window.
#   starts.sh GAME CLOSER COUNT [OUTDIR]
session=$(dirname "$0")/session.sh
count=$3
outdir=${4:-.}
. "$(dirname "$0")/helpers.sh"
# Each start has its own limit (session.sh); this one only names the start that hangs.
timeLimit "${TD_STARTS_LIMIT:-1800}"
trap endTimeLimit EXIT
shown=0
for i in $(seq "$count"); do
    step "start $i of $count"
    code=0
    "$session" "$1" "$2" start "$outdir" >"$outdir/starts-$i.log" 2>&1 || code=$?
    if [ $code -eq 77 ]; then cat "$outdir/starts-$i.log"; exit 77; fi
    if [ $code -eq 0 ]; then
        shown=$((shown + 1))
    else
        echo "start $i (exit code $code):"
        cat "$outdir/starts-$i.log"
    fi
done
echo "$shown of $count fresh starts showed the window"
check "every fresh start shows the window" test "$shown" -eq "$count"
