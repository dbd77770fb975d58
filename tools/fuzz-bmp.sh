#!/usr/bin/env bash
# Fuzzes Image::LoadBMP with libFuzzer for a bounded time: tools/fuzz.sh bmp, kept by its old name.
#   tools/fuzz-bmp.sh [seconds]     (default 60)
exec "$(dirname "$0")/fuzz.sh" bmp "$@"
