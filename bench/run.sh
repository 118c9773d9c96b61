#!/bin/bash
# Builds the optimised native tree and runs the station and decoder file benchmarks.
# Usage: bench/run.sh [COUNT]
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh cmake make g++ googletest libgtest-dev libgmock-dev
cmake --preset bench >/dev/null
cmake --build --preset bench -j"$(nproc)" --target velquist_station_bench velquist-sim-station \
    velquist_decoder_file_bench velquist-cli velquist_find_station_bench velquist_journal_bench
build/bench/bench/velquist_station_bench "${1:-100}"
build/bench/bench/velquist_decoder_file_bench 20
build/bench/bench/velquist_find_station_bench
build/bench/bench/velquist_journal_bench
