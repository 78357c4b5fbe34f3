#!/usr/bin/env bash
# Builds the decoder fuzzer with clang and runs it for SECONDS (default 60), starting from the
# seed files in fuzz/corpus. What it learns stays in build/fuzz/corpus; an input that crashes
# is saved in build/fuzz/crashes/ and makes the script fail.
set -euo pipefail
seconds=${1:-60}
cd "$(dirname "$0")/.."
build=build/fuzz

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DLUMIPAD_FUZZ=ON -DLUMIPAD_TESTS=OFF -DLUMIPAD_BENCH=OFF >/dev/null
cmake --build "$build" --target lumipad_fuzz_decode -j "$(nproc)"

mkdir -p "$build/corpus" "$build/crashes"
"$build/fuzz/lumipad_fuzz_decode" -max_total_time="$seconds" -max_len=8192 -timeout=10 \
  -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/crashes/" \
  "$build/corpus" fuzz/corpus
