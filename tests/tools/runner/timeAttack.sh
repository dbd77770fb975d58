#!/usr/bin/env bash
# Time attack through the runner: a race alone recorded and replayed gives the same trace (the
# replay carries that it was raced alone), and --verify's verdicts and exit codes.
#   timeAttack.sh RUNNER DATA_DIR
set -euo pipefail
runner=$1 data=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$runner" --time-attack --data "$data" --draw-every 0 --trace "$dir/raced.csv" --record "$dir/alone.replay" >/dev/null
"$runner" --replay "$dir/alone.replay" --data "$data" --draw-every 0 --trace "$dir/replayed.csv" >/dev/null
cmp "$dir/raced.csv" "$dir/replayed.csv"
[ "$(cut -d, -f2 "$dir/raced.csv" | sort -u | grep -cv truck)" = 1 ] || { echo "more than the user's truck raced"; exit 1; }
# A race cut short (the user never finishes) and a file damaged on disk.
"$runner" --time-attack --data "$data" --draw-every 0 --max-seconds 20 --record "$dir/short.replay" >/dev/null || true
cp "$dir/alone.replay" "$dir/damaged.replay"
printf 'X' | dd of="$dir/damaged.replay" bs=1 seek=100 conv=notrunc status=none
status=0
for row in "alone.replay 0 Verdict: verified" "short.replay 1 Verdict: not verified: the user's truck does not finish" \
           "damaged.replay 2 damaged"; do
    set -- $row
    file=$1 want=$2; shift 2; says="$*"
    code=0
    "$runner" --verify "$dir/$file" --data "$data" >"$dir/out.txt" 2>&1 || code=$?
    if [ "$code" != "$want" ] || ! grep -q "$says" "$dir/out.txt"; then
        echo "--verify $file: exit $code (wanted $want)"; cat "$dir/out.txt"; status=1
    else
        echo "--verify $file: exit $code, $(grep -E 'Verdict|damaged|Driven' "$dir/out.txt" | tr '\n' ' ')"
    fi
done
exit $status
