#!/usr/bin/env bash
# Builds Lumipad (Release) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUMIPAD_TESTS=OFF -DLUMIPAD_BENCH=OFF
cmake --build build/release --target lumipad
exec build/release/src/app/lumipad
