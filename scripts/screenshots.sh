#!/bin/sh
# Pictures of the program's windows for the user guide, taken offscreen.
# Usage: scripts/screenshots.sh [build folder, default build] [output folder, default docs/guia/img]
set -e
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
out=${2:-$here/docs/guia/img}
mkdir -p "$out"
export QT_QPA_PLATFORM=offscreen TOLMEX_SOURCE_DIR="$here" TOLMEX_SCREENSHOT_DIR="$out"
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
# Analysis of variance: the model window, the options dialog and a split-plot report.
cmake --build "$build" --target ui_anova_screenshots_test
"$build/tests/ui/ui_anova_screenshots_test"
# Data tables: the data-table window with the randomised-blocks example open.
cmake --build "$build" --target ui_data_screenshots_test
"$build/tests/ui/ui_data_screenshots_test"
echo "pictures in $out"
