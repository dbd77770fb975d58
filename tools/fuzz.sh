#!/usr/bin/env bash
# Fuzzes one of the parsers of files a player can be handed, with libFuzzer, for a bounded time,
# and reports executions, coverage and crashes.
#   tools/fuzz.sh bmp|replay|records|course|settings|championship [seconds]     (default 60)
# Builds with clang into $FUZZ_BUILD_DIR/TARGET (default build-fuzz/TARGET in the repository),
# generates the seed corpus there, and keeps what the fuzzer learns in its corpus folder between
# runs, so long runs can be taken in several goes.
# Exit status: 0 clean, 1 a crash or sanitizer report (its input is in artifacts/), 2 a wrong
# target, 77 when clang or its fuzzer runtime is missing (CTest reads 77 as skipped).
set -u
target=${1:-}
seconds=${2:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
out=${FUZZ_BUILD_DIR:-$root/build-fuzz}/$target
cxx=${CXX_FUZZ:-clang++}

# What each target is built from, and how long its inputs may grow: a BMP's header checks see
# everything by 64 KiB, a race's worth of replay frames fits in 64 KiB, a records file is 16 KiB
# at most, a settings file 8 KiB, a championship's progress 4 KiB, a course file 32 KiB (the reader refuses more; a little over tests that).
libs=()
seedDir=""
case "$target" in
bmp)
    sources=("$root/tests/fuzz/bmpFuzz.cpp" "$root/graphics/image.cpp" "$root/core/errorBox.cpp" "$root/core/platform.cpp")
    seedSources=("$root/tests/fuzz/bmpSeeds.cpp")
    seedArgs=()
    maxLength=65536
    ;;
replay)
    sources=("$root/tests/fuzz/replayFuzz.cpp" "$root/records/replay.cpp" "$root/records/storage.cpp")
    seedSources=("$root/tests/fuzz/replaySeeds.cpp" "$root/records/replay.cpp" "$root/records/storage.cpp")
    seedArgs=(write)
    maxLength=65536
    ;;
records)
    sources=("$root/tests/fuzz/recordsFuzz.cpp" "$root/records/records.cpp" "$root/records/storage.cpp")
    seedSources=("$root/tests/fuzz/recordsSeeds.cpp" "$root/records/records.cpp" "$root/records/storage.cpp")
    seedArgs=()
    maxLength=16384
    ;;
settings)
    sources=("$root/tests/fuzz/settingsFuzz.cpp" "$root/records/settings.cpp" "$root/records/storage.cpp")
    seedSources=("$root/tests/fuzz/settingsSeeds.cpp" "$root/records/settings.cpp" "$root/records/storage.cpp")
    seedArgs=()
    maxLength=8192
    ;;
championship)
    sources=("$root/tests/fuzz/championshipFuzz.cpp" "$root/records/championshipProgress.cpp" "$root/records/storage.cpp")
    seedSources=("$root/tests/fuzz/championshipSeeds.cpp" "$root/records/championshipProgress.cpp" "$root/records/storage.cpp")
    seedArgs=()
    maxLength=4096
    ;;
course)
    # The reader names tiles by the course palette, which sits with the track and what it stands on;
    # the shipped course files are the seeds.
    sources=("$root/tests/fuzz/courseFuzz.cpp" "$root/track/"*.cpp "$root/physics/"*.cpp "$root/math/"*.cpp
             "$root/graphics/"*.cpp "$root/core/"*.cpp)
    libs=(-lGL -lGLU)
    seedSources=()
    seedDir="$root/data/courses"
    maxLength=40000
    ;;
*)
    echo "usage: $0 bmp|replay|records|course|settings|championship [seconds]" >&2
    exit 2
    ;;
esac

if ! command -v "$cxx" >/dev/null 2>&1; then
    echo "fuzz-$target: $cxx not found; skipped"
    exit 77
fi
mkdir -p "$out/seeds" "$out/corpus" "$out/artifacts"

flags=(-std=c++17 -g -O1 -I"$root" -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
if ! "$cxx" "${flags[@]}" "${sources[@]}" "${libs[@]}" -o "$out/fuzz" 2>"$out/build.log"; then
    if grep -q "libclang_rt.fuzzer\|fuzzer.*not found\|cannot find" "$out/build.log"; then
        echo "fuzz-$target: the libFuzzer runtime is missing; skipped"
        exit 77
    fi
    cat "$out/build.log"
    exit 1
fi
if [ -n "$seedDir" ]; then
    seeds=$seedDir
else
    seeds=$out/seeds
    "$cxx" -std=c++17 -O1 -I"$root" "${seedSources[@]}" -o "$out/seeds-tool" &&
        "$out/seeds-tool" "${seedArgs[@]}" "$seeds" || exit 1
fi

log="$out/fuzz.log"
"$out/fuzz" -max_total_time="$seconds" -max_len="$maxLength" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$out/artifacts/" "$out/corpus" "$seeds" >"$log" 2>&1
status=$?

executions=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
rate=$(grep -o 'stat::average_exec_per_sec: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
coverage=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -1)
crashes=$(find "$out/artifacts" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
echo "fuzz-$target: ${seconds} s, ${executions:-?} executions (${rate:-?}/s), ${coverage:-cov ?}," \
    "corpus $(ls "$out/corpus" | wc -l) files, ${crashes} crash/leak/timeout/oom inputs in $out/artifacts"
# How far the learnt inputs get: past the checksum, and all the way.
if [ "$target" = replay ]; then
    echo "fuzz-replay: corpus $("$out/seeds-tool" count "$out/corpus")"
fi
if [ "$status" -ne 0 ] || [ "$crashes" -ne 0 ]; then
    tail -40 "$log"
    exit 1
fi
exit 0
