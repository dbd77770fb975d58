#!/usr/bin/env bash
# The runner stops soon and cleanly when asked to, and never reports a failed write as success.
#   outputFaults.sh RUNNER BUILD_DIR
set -u
runner=$1
data=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }
run() { "$runner" --data "$data" --draw-every 0 "$@"; }

# SIGTERM and SIGINT into a 100-race run: the run ends after its frame, the trace ends on a
# whole row, and the exit code is the shell's 128 + the signal.
for sig in TERM INT; do
    # A background job of a script starts with SIGINT ignored; the runner gets it as from a terminal.
    env --default-signal=INT "$runner" --data "$data" --draw-every 0 --races 100 \
        --trace "$scratch/$sig.csv" >"$scratch/$sig.out" 2>"$scratch/$sig.err" &
    pid=$!
    # The signal waits for the first trace rows: a loaded machine can take seconds to load the
    # pictures, and a signal before the race would only meet the default action.
    deadline=$((SECONDS + 120))
    until [ -s "$scratch/$sig.csv" ] || [ $SECONDS -ge $deadline ] || ! kill -0 $pid 2>/dev/null; do sleep 0.1; done
    start=$SECONDS
    kill -$sig $pid 2>/dev/null
    wait $pid
    code=$?
    races=$(grep -c '^Race ' "$scratch/$sig.out")
    echo "SIG$sig in the first race: exit $code after $((SECONDS - start)) s, $races races begun: $(cat "$scratch/$sig.err")"
    expected=$((128 + $(kill -l $sig)))
    [ "$code" -eq "$expected" ] || fail "SIG$sig: exit $code, not $expected"
    [ "$races" -lt 100 ] || fail "SIG$sig: all 100 races ran"
    grep -q "stopped by signal" "$scratch/$sig.err" || fail "SIG$sig: no word of the stop on stderr"
    # Every row has the header's 11 fields and the file ends with a newline.
    if [ ! -s "$scratch/$sig.csv" ] || [ -n "$(tail -c 1 "$scratch/$sig.csv")" ] ||
        ! awk -F, 'NF != 11 { exit 1 }' "$scratch/$sig.csv"; then
        fail "SIG$sig: the trace does not end on a whole row"
    fi
done

# CASE EXPECTED-TEXT COMMAND...: the run must exit 3 and name what it could not write.
expectWriteFailure() {
    local name=$1 text=$2
    shift 2
    "$@" >"$scratch/$name.out" 2>"$scratch/$name.err"
    local code=$?
    echo "$name: exit $code: $(grep -v '^$' "$scratch/$name.err" | tail -1)"
    [ "$code" -eq 3 ] || fail "$name: exit $code, not 3"
    grep -qF "$text" "$scratch/$name.err" || fail "$name: stderr does not name $text"
}
expectWriteFailure fullDisk "cannot write /dev/full" run --max-seconds 30 --trace /dev/full
# 64 KiB: the trace outgrows it within seconds of simulated time.
expectWriteFailure sizeLimit "cannot write $scratch/limited.csv" \
    bash -c 'ulimit -f 64 && exec "$0" "$@"' "$runner" --data "$data" --draw-every 0 --max-seconds 30 \
    --trace "$scratch/limited.csv"
mkdir -p "$scratch/shots/course0-title.ppm"
expectWriteFailure screenshot "course0-title.ppm" run --max-seconds 1 --screenshots "$scratch/shots"
expectWriteFailure results "cannot write the results" bash -c 'exec "$0" "$@" >/dev/full' "$runner" --data "$data" \
    --draw-every 0 --max-seconds 1

[ $failed -eq 0 ] && echo PASS
exit $failed
