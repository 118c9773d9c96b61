#!/bin/bash
# The speed table thumb drag under Wine: the median time to handle one mouse move of a dragged
# thumb, with and without Force Inclination. Usage: bench/speed_drag.sh [MOVES]
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh cmake make g++-mingw-w64-x86-64-posix wine64 fonts-wine xvfb
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$(nproc)" --target velquist_speed_drag_bench >/dev/null
source tools/wine-env.sh
export WINEPREFIX=$PWD/build/bench-drag/wineprefix
read -r DISPLAY xvfb_pid < <(tools/xvfb.sh 1024x768x24)
export DISPLAY
trap '"$VELQUIST_WINESERVER" -k; kill $xvfb_pid' EXIT
tools/wine-prefix.sh "$WINEPREFIX" "$PWD/build/bench-drag/com1"
tools/wine-run.sh build/windows/bench/velquist_speed_drag_bench.exe "${1:-1000}" </dev/null
