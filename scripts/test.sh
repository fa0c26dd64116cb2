#!/usr/bin/env bash
# Builds (if needed) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ ! -f build/build.ninja ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
fi
cmake --build build
ctest --test-dir build --output-on-failure -j2 "$@"
