#!/usr/bin/env bash
# Builds everything and runs every test: formatting, the suite in a Release build, the suite
# again under AddressSanitizer and UndefinedBehaviorSanitizer, and the fuzzers for a short while.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

echo "== formatting"
git ls-files -co --exclude-standard -- '*.cpp' '*.h' | xargs -r clang-format --dry-run -Werror

echo "== release build and tests"
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build/release -j "$jobs"
ctest --test-dir build/release --output-on-failure -j "$jobs"

echo "== sanitizer build and tests"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLUMIPAD_SANITIZE=ON -DLUMIPAD_BENCH=OFF
cmake --build build/asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp \
  ctest --test-dir build/asan --output-on-failure -j "$jobs" -LE bench

echo "== fuzzing"
fuzz/run.sh 30
