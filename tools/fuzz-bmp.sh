#!/usr/bin/env bash
# Fuzzes Image::LoadBMP with libFuzzer for a bounded time and reports executions and crashes.
#   tools/fuzz-bmp.sh [seconds]     (default 60)
# Builds with clang into $FUZZ_BUILD_DIR (default build-fuzz in the repository), generates the
# seed corpus there, and keeps what the fuzzer learns in its corpus folder between runs.
# Exit status: 0 clean, 1 a crash or sanitizer report (its input is in artifacts/), 77 when clang
# or its fuzzer runtime is missing (CTest reads 77 as skipped).
set -u
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
out=${FUZZ_BUILD_DIR:-$root/build-fuzz}
cxx=${CXX_FUZZ:-clang++}

if ! command -v "$cxx" >/dev/null 2>&1; then
    echo "fuzz-bmp: $cxx not found; skipped"
    exit 77
fi
mkdir -p "$out/seeds" "$out/corpus" "$out/artifacts"

sources=("$root/tests/fuzz/bmpFuzz.cpp" "$root/graphics/image.cpp" "$root/core/errorBox.cpp" "$root/core/platform.cpp")
flags=(-std=c++17 -g -O1 -I"$root" -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
if ! "$cxx" "${flags[@]}" "${sources[@]}" -o "$out/bmpFuzz" 2>"$out/build.log"; then
    if grep -q "libclang_rt.fuzzer\|fuzzer.*not found\|cannot find" "$out/build.log"; then
        echo "fuzz-bmp: the libFuzzer runtime is missing; skipped"
        exit 77
    fi
    cat "$out/build.log"
    exit 1
fi
"$cxx" -std=c++17 -O1 "$root/tests/fuzz/bmpSeeds.cpp" -o "$out/bmpSeeds" && "$out/bmpSeeds" "$out/seeds" || exit 1

# Inputs larger than 64 KiB add nothing the header checks do not already see.
log="$out/fuzz.log"
"$out/bmpFuzz" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$out/artifacts/" "$out/corpus" "$out/seeds" >"$log" 2>&1
status=$?

executions=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
rate=$(grep -o 'stat::average_exec_per_sec: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
crashes=$(find "$out/artifacts" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
echo "fuzz-bmp: ${seconds} s, ${executions:-?} executions (${rate:-?}/s), corpus $(ls "$out/corpus" | wc -l) files, ${crashes} crash/leak/timeout/oom inputs in $out/artifacts"
if [ "$status" -ne 0 ] || [ "$crashes" -ne 0 ]; then
    tail -40 "$log"
    exit 1
fi
exit 0
