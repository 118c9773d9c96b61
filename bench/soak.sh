#!/bin/bash
# Builds the optimised native tree and runs the soak against the simulated station: 10,000
# commands with a fault on every 50th answer. A few minutes; ends with PASS or FAIL.
# Usage: bench/soak.sh
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh cmake make g++ googletest libgtest-dev libgmock-dev
cmake --preset bench >/dev/null
cmake --build --preset bench -j"$(nproc)" --target velquist_station_soak velquist-sim-station >/dev/null
exec build/bench/bench/velquist_station_soak
