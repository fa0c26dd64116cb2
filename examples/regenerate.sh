#!/bin/sh
# Rebuilds the example tables of this folder with the program's own table writer.
# Usage: examples/regenerate.sh [build folder, default build]
set -e
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build}
cmake --build "$build" --target make_examples
"$build/tests/data/make_examples" "$here"
