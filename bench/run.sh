#!/bin/bash
# Builds the optimised native tree and runs the station benchmark. Usage: bench/run.sh [COUNT]
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh cmake make g++ googletest libgtest-dev libgmock-dev
cmake --preset bench >/dev/null
cmake --build --preset bench -j"$(nproc)" --target velquist_station_bench velquist-sim-station
build/bench/bench/velquist_station_bench "${1:-100}"
