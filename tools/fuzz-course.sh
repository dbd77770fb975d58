#!/usr/bin/env bash
# Fuzzes the course file reader with libFuzzer for a bounded time, seeded with the shipped courses.
#   tools/fuzz-course.sh [seconds]     (default 60)
# Builds with clang into $FUZZ_BUILD_DIR (default build-fuzz in the repository) and keeps what the
# fuzzer learns in its course-corpus folder between runs.
# Exit status: 0 clean, 1 a crash or sanitizer report (its input is in course-artifacts/), 77 when
# clang or its fuzzer runtime is missing (CTest reads 77 as skipped).
set -u
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
out=${FUZZ_BUILD_DIR:-$root/build-fuzz}
cxx=${CXX_FUZZ:-clang++}

if ! command -v "$cxx" >/dev/null 2>&1; then
    echo "fuzz-course: $cxx not found; skipped"
    exit 77
fi
mkdir -p "$out/course-corpus" "$out/course-artifacts"

# The reader names tiles by the course palette, which sits with the track and what it stands on.
sources=("$root/tests/fuzz/courseFuzz.cpp" "$root/track/"*.cpp "$root/physics/"*.cpp "$root/math/"*.cpp
         "$root/graphics/"*.cpp "$root/core/"*.cpp)
flags=(-std=c++17 -g -O1 -I"$root" -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
if ! "$cxx" "${flags[@]}" "${sources[@]}" -lGL -lGLU -o "$out/courseFuzz" 2>"$out/course-build.log"; then
    if grep -q "libclang_rt.fuzzer\|fuzzer.*not found\|cannot find" "$out/course-build.log"; then
        echo "fuzz-course: the libFuzzer runtime is missing; skipped"
        exit 77
    fi
    cat "$out/course-build.log"
    exit 1
fi

log="$out/course-fuzz.log"
"$out/courseFuzz" -max_total_time="$seconds" -max_len=40000 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$out/course-artifacts/" "$out/course-corpus" "$root/data/courses" >"$log" 2>&1
status=$?

executions=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
rate=$(grep -o 'stat::average_exec_per_sec: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
crashes=$(find "$out/course-artifacts" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
echo "fuzz-course: ${seconds} s, ${executions:-?} executions (${rate:-?}/s), corpus $(ls "$out/course-corpus" | wc -l) files, ${crashes} crash/leak/timeout/oom inputs in $out/course-artifacts"
if [ "$status" -ne 0 ] || [ "$crashes" -ne 0 ]; then
    tail -40 "$log"
    exit 1
fi
exit 0
