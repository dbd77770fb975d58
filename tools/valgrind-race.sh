#!/usr/bin/env bash
# One race of the headless runner under valgrind's memcheck, first undrawn and then drawing
# every frame, with the system libraries' own reports suppressed (tests/valgrind/mesa.supp).
#   tools/valgrind-race.sh RUNNER DATA_FOLDER [UNDRAWN_SECONDS] [DRAWN_SECONDS]
# The seconds cut each race short (simulated time); by default both run to the end (about
# 100 s of race). Use a Release runner: memcheck runs it some 50 times slower.
# Exit status: 0 when memcheck reports nothing, 1 when it reports an error or a leak (the log
# is printed), 77 when valgrind is not installed (CTest reads 77 as skipped).
set -u
runner=${1:?usage: valgrind-race.sh RUNNER DATA_FOLDER [UNDRAWN_SECONDS] [DRAWN_SECONDS]}
data=${2:?usage: valgrind-race.sh RUNNER DATA_FOLDER [UNDRAWN_SECONDS] [DRAWN_SECONDS]}
undrawn=${3:-600}
drawn=${4:-600}
root=$(cd "$(dirname "$0")/.." && pwd)

if ! command -v valgrind >/dev/null 2>&1; then
    echo "valgrind-race: valgrind not found; skipped"
    exit 77
fi
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT

status=0
for run in "undrawn 0 $undrawn" "drawn 1 $drawn"; do
    set -- $run
    name=$1
    start=$(date +%s)
    # Mesa unloads its driver before the leak check: keep its symbols so the suppressions match.
    valgrind --tool=memcheck --error-exitcode=99 --leak-check=full --errors-for-leak-kinds=definite \
        --keep-debuginfo=yes --num-callers=40 --suppressions="$root/tests/valgrind/mesa.supp" \
        --log-file="$logs/$name.log" "$runner" --data "$data" --draw-every "$2" --max-seconds "$3" \
        >"$logs/$name.out" 2>&1
    code=$?
    summary=$(grep -o 'ERROR SUMMARY: .*' "$logs/$name.log" | tail -1)
    echo "valgrind-race: $name: $(grep -o 'Simulated: .*' "$logs/$name.out"), runner exit $code," \
        "$(($(date +%s) - start)) s; $summary"
    # The runner's own exit 1 only says the race was cut short before every truck finished.
    if [ "$code" -ne 0 ] && [ "$code" -ne 1 ]; then
        cat "$logs/$name.log" "$logs/$name.out"
        status=1
    fi
done
exit $status
