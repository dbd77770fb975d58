#!/usr/bin/env bash
# Fuzzes the course file reader with libFuzzer for a bounded time: tools/fuzz.sh course.
#   tools/fuzz-course.sh [seconds]     (default 60)
exec "$(dirname "$0")/fuzz.sh" course "$@"
