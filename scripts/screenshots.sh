#!/usr/bin/env bash
# Renders the program's windows offscreen to PNG files: the main window, a report window with
# a report text, the analysis-of-variance windows with a split-plot report, the data-table
# window. Look at them: accents, the fixed-pitch report font, no clipping.
# Usage: scripts/screenshots.sh [build folder, default build] [output folder, default build/screenshots]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
out=${2:-$build/screenshots}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
fi
mkdir -p "$out" "$build/xdg-runtime"
chmod 700 "$build/xdg-runtime"
export QT_QPA_PLATFORM=offscreen TOLMEX_SOURCE_DIR="$here" TOLMEX_SCREENSHOT_DIR="$out"
export XDG_RUNTIME_DIR="$build/xdg-runtime"
# Main window and a report window.
cmake --build "$build" --target tolmex-screenshots
"$build/tolmex-screenshots" "$out"
# Analysis of variance: the model window, the options dialog and a split-plot report.
cmake --build "$build" --target ui_anova_screenshots_test
"$build/tests/ui/ui_anova_screenshots_test"
# Data tables: the data-table window with the randomised-blocks example open.
cmake --build "$build" --target ui_data_screenshots_test
"$build/tests/ui/ui_data_screenshots_test"
echo "pictures in $out"
