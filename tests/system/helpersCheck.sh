#!/usr/bin/env bash
# The system tests' helpers under each way a script can fail: every failure must exit 1 and say
# what failed and which check was under way; a script that does its work passes quietly.
#   helpersCheck.sh
set -u
helpers=$(cd "$(dirname "$0")" && pwd)/helpers.sh
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# Keys go nowhere: no X server is needed.
mkdir "$scratch/bin"
printf '#!/bin/sh\nexit 0\n' >"$scratch/bin/xdotool"
chmod +x "$scratch/bin/xdotool"

# Each case: a name, the script body (after the helpers are sourced), the exit code, and a
# pattern its output must match (grep -E).
cases=(
    "command fails|step 'the stem'; ls /no-such-folder-here >/dev/null 2>&1|1|FAIL.*\"ls /no-such-folder-here.*failed \(status 2\) at line 3.*while checking: the stem"
    "fails in a function|f() { false; }; step 'a call'; f|1|\"false\" failed \(status 1\) at line 3 in f.*while checking: a call"
    "fails inside \$(...)|step 'a reading'; v=\$(false)|1|\"false\" failed.*while checking: a reading"
    "check names its check|check 'the bars are black' test 1 = 2|1|FAIL \(case\): the bars are black"
    "waitFor gives up|waitFor 1 'a window' false|1|not within 1s: a window"
    "holdKeyUntil gives up|holdKeyUntil F11 0 1 'the full screen' false|1|not within 1s of holding F11: the full screen"
    "time limit|trap endTimeLimit EXIT; timeLimit 1; step 'the doubled picture'; sleep 3|1|over its time limit of 1s while: the doubled picture"
    "onFail adds its diagnostics|onFail() { echo 'game stderr here'; }; fail 'no window'|1|no window.*game stderr here"
    "conditions are not failures|if false; then :; fi; if v=\$(false); then :; fi; waitFor 5 'true' true; echo done|0|done"
)
failed=0
for entry in "${cases[@]}"; do
    IFS='|' read -r name body code pattern <<<"$entry"
    printf 'testName=case\n. %q\n%s\n' "$helpers" "$body" >"$scratch/case.sh"
    output=$(PATH=$scratch/bin:$PATH timeout 20 bash "$scratch/case.sh" 2>&1)
    got=$?
    echo "$name: exit $got; $(echo "$output" | tr '\n' ' ')"
    if [ "$got" -ne "$code" ] || ! echo "$output" | tr '\n' ' ' | grep -qE "$pattern"; then
        echo "  FAIL: wanted exit $code and output matching: $pattern"
        failed=$((failed + 1))
    fi
    if [ "$code" -eq 0 ] && echo "$output" | grep -q FAIL; then
        echo "  FAIL: a passing script printed a failure"
        failed=$((failed + 1))
    fi
done
echo "$failed of ${#cases[@]} cases failed"
[ "$failed" -eq 0 ]
