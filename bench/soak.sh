#!/bin/bash
# Builds the optimised native tree and runs the soak against the simulated station: 10,000
# commands with a fault on every 50th answer, through the ASCII driver, the binary one, or (by
# default) both in turn. A few minutes each; each ends with PASS or FAIL.
# Usage: bench/soak.sh [ascii|binary]
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh cmake make g++ googletest libgtest-dev libgmock-dev
cmake --preset bench >/dev/null
cmake --build --preset bench -j"$(nproc)" --target velquist_station_soak velquist-sim-station >/dev/null
status=0
for protocol in ${1:-ascii binary}; do
    build/bench/bench/velquist_station_soak "$protocol" || status=1
done
exit "$status"
