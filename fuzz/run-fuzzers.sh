#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and AddressSanitizer and runs one of them.
#   fuzz/run-fuzzers.sh TARGET [SECONDS]     (default 600 s)
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
TARGET="$1"
SECONDS_TO_RUN="${2:-600}"
BUILD="$ROOT/build-fuzz"
CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVORNA_BUILD_FUZZ=ON -DVORNA_BUILD_TESTS=OFF -DVORNA_BUILD_BENCH=OFF -DVORNA_BUILD_GUI=OFF \
    -DVORNA_BUILD_PEKTO_DLL=OFF -DVORNA_SANITIZE=address,undefined >/dev/null
cmake --build "$BUILD" --target "$TARGET"
WORK="$ROOT/fuzz-out/$TARGET"
mkdir -p "$WORK/corpus"
cp -n "$ROOT/fuzz/corpus/$TARGET"/* "$WORK/corpus/" 2>/dev/null || true
cd "$WORK"
"$BUILD/fuzz/$TARGET" -max_total_time="$SECONDS_TO_RUN" -print_final_stats=1 corpus 2>&1 | tail -n 25
