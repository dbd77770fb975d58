# Shared by the system tests' scripts (sourced): every failure says what was being checked.
# A failing command stops the script with its text, line and the check under way; waits poll
# with a deadline; the script's own time limit reports what it was waiting for before any
# outer limit kills it in silence. Scripts may define onFail to add their diagnostics.
set -eEu
testName=${testName:-$(basename "$0" .sh)}
checking="starting"
stepFile=""
watchdog=""
# Failure reports go to the script's own output even from inside $(...).
exec 3>&1

onFail() { :; }

# DESCRIPTION...: names the check under way for failures and the time limit; logged with the
# script's age, which shows where a slow run spent its time.
step() {
    checking=$*
    [ -z "$stepFile" ] || printf '%s\n' "$checking" >"$stepFile"
    echo "[${SECONDS}s] $checking"
}

# MESSAGE...: the failure, the check it broke, the script's diagnostics; exit 1.
fail() {
    trap - ERR
    set +e
    echo "FAIL ($testName): $*" >&3
    echo "  while checking: $checking" >&3
    # A failure inside $(...) is told once here; the caller's shell then fails on its own line.
    [ "$BASH_SUBSHELL" -gt 0 ] && exit 1
    onFail >&3 2>&1
    exit 1
}
trap 'fail "\"$BASH_COMMAND\" failed (status $?) at line $LINENO${FUNCNAME:+ in $FUNCNAME}"' ERR

# DESCRIPTION COMMAND...: fails with DESCRIPTION unless COMMAND holds.
check() {
    local what=$1
    shift
    "$@" || fail "$what"
}

# SECONDS DESCRIPTION COMMAND...: polls COMMAND (in this shell) until it holds; fails after SECONDS.
waitFor() {
    local limit=$1 what=$2 deadline=$((SECONDS + $1))
    shift 2
    step "waiting (at most ${limit}s) for $what"
    until "$@"; do
        [ $SECONDS -lt $deadline ] || fail "not within ${limit}s: $what"
        sleep 0.1
    done
}

# NAME: the id of the top-level window titled NAME (under the X server's root), empty when none.
windowNamed() {
    xwininfo -root -tree 2>/dev/null | awk -v name="\"$1\"" '/^     0x/ && index($0, name ": (") { print $1; exit }'
}

# KEY WINDOW SECONDS DESCRIPTION COMMAND...: holds KEY down on WINDOW until COMMAND sees its
# effect. A key pressed and released between two frames is never seen, and a starved game
# draws its frames far apart, so the key is let go only once the game has shown it noticed.
holdKeyUntil() {
    local key=$1 window=$2 limit=$3 what=$4 deadline=$(($3 + SECONDS))
    shift 4
    step "holding $key (at most ${limit}s) for $what"
    timeout 5 xdotool windowfocus --sync "$window" >/dev/null 2>&1 || true
    timeout 5 xdotool keydown "$key"
    until "$@"; do
        if [ $SECONDS -ge $deadline ]; then
            timeout 5 xdotool keyup "$key" || true
            fail "not within ${limit}s of holding $key: $what"
        fi
        sleep 0.1
    done
    timeout 5 xdotool keyup "$key"
}

# SECONDS: the script's own time limit. A watchdog reports the check under way when it runs
# out and stops the script; set it well below the outer timeout and ctest's.
timeLimit() {
    local limit=$1 main=$$
    stepFile=$(mktemp)
    printf '%s\n' "$checking" >"$stepFile"
    (
        trap - ERR
        set +e
        # The sleep holds no output pipe, so ctest never waits on it once the script is done.
        sleep "$limit" >/dev/null 2>&1 3>&-
        echo "FAIL ($testName): over its time limit of ${limit}s while: $(cat "$stepFile")" >&3
        kill -USR1 "$main"
    ) &
    watchdog=$!
    trap 'fail "over the time limit of '"$limit"'s"' USR1
}

# Stops the watchdog; the scripts call it from their EXIT trap.
endTimeLimit() {
    [ -z "$watchdog" ] || kill "$watchdog" 2>/dev/null || true
    [ -z "$stepFile" ] || rm -f "$stepFile"
}

# WINDOW FILE [IMPORT OPTIONS...]: a screenshot of WINDOW. A window listed by the X server may
# not be mapped yet, and a starved server can refuse a grab now and then: retried for 10 s.
grabWindow() {
    local window=$1 file=$2 deadline=$((SECONDS + 10))
    shift 2
    until import -window "$window" "$@" "$file" 2>/dev/null; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.2
    done
}
