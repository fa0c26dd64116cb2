#!/usr/bin/env bash
# Installs the Debian packages Tolmex needs and builds a release build into build/.
# Safe to run again: installed packages are skipped and the build is incremental.
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(cmake ninja-build g++ pkg-config ccache
  qt6-base-dev libqt6opengl6-dev libxkbcommon-dev qt6-charts-dev qt6-svg-dev
  libsqlite3-dev libxlsxwriter-dev libzip-dev libpugixml-dev libcli11-dev
  libgtest-dev libgmock-dev libbenchmark-dev libboost-math-dev zlib1g-dev
  xvfb xauth imagemagick poppler-utils fonts-liberation sqlite3 xdg-utils)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y --no-install-recommends -o DPkg::Lock::Timeout=300 "${missing[@]}"
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build
