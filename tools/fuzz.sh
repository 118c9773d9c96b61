#!/bin/bash
# Builds one fuzz target with clang and libFuzzer (under ASan and UBSan) and runs it on its seed
# corpus, keeping what it learns in build/fuzz/corpus/TARGET; findings land in build/fuzz/findings.
# Usage: tools/fuzz.sh TARGET [SECONDS | -runs=N]   (default 60 seconds), e.g.
#        tools/fuzz.sh fuzz_station_answers -runs=10000000
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?usage: tools/fuzz.sh TARGET [SECONDS | -runs=N]}
limit=${2:-60}
seeds=tests/fuzz/corpus/${target#fuzz_}
[ -d "$seeds" ] || { echo "fuzz.sh: no seed corpus $seeds for $target" >&2; exit 2; }
case "$limit" in
-runs=*) limit_option=$limit ;;
*[!0-9]* | '') echo "fuzz.sh: give SECONDS or -runs=N, not '$limit'" >&2; exit 2 ;;
*) limit_option=-max_total_time=$limit ;;
esac

tools/install-deps.sh cmake make clang libclang-rt-dev
build=build/fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVELQUIST_FUZZ=ON -DVELQUIST_SANITIZE=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target "$target" >/dev/null

corpus=$build/corpus/$target
findings=$build/findings/$target
mkdir -p "$corpus" "$findings"
# The seeds are read, never written: new inputs go to the build's corpus.
"$build/tests/fuzz/$target" "$limit_option" -artifact_prefix="$findings/" -print_final_stats=1 \
    "$corpus" "$seeds"
