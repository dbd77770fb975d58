#!/usr/bin/env bash
# Fresh starts of the game, each under its own new X server: every one must show its window.
#   starts.sh GAME CLOSER COUNT [OUTDIR]
set -u
session=$(dirname "$0")/session.sh
count=$3
outdir=${4:-.}
shown=0
for i in $(seq "$count"); do
    "$session" "$1" "$2" start "$outdir" >"$outdir/starts-$i.log" 2>&1
    code=$?
    [ $code -eq 77 ] && { cat "$outdir/starts-$i.log"; exit 77; }
    if [ $code -eq 0 ]; then
        shown=$((shown + 1))
    else
        echo "start $i:"
        cat "$outdir/starts-$i.log"
    fi
done
echo "$shown of $count fresh starts showed the window"
[ "$shown" -eq "$count" ]
