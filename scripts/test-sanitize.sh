#!/usr/bin/env bash
# Builds the core libraries and their tests with AddressSanitizer and UndefinedBehaviorSanitizer
# (float-cast-overflow included) into build-asan/ and runs them.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTOLMEX_SANITIZE=ON -DTOLMEX_CORE_ONLY=ON -DTOLMEX_BENCH=OFF
cmake --build build-asan
ctest --test-dir build-asan --output-on-failure -j2 "$@"
