#!/bin/bash
# Builds a fuzz target of tests/fuzz with clang and libFuzzer (ASan and UBSan on) and runs it
# on its seed corpus; new inputs it finds go to build/fuzz/corpus/TARGET.
# Usage: tools/fuzz.sh TARGET [LIBFUZZER OPTION...]
#   e.g. tools/fuzz.sh fuzz_decoder_file -runs=10000000
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -ge 1 ] || { echo "usage: $0 TARGET [LIBFUZZER OPTION...]" >&2; exit 2; }
target=$1
shift
seeds=tests/fuzz/corpus/${target#fuzz_}
[ -d "$seeds" ] || { echo "no seed corpus $seeds for $target" >&2; exit 2; }

tools/install-deps.sh clang cmake make googletest libgtest-dev libgmock-dev
cmake -S . -B build/fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELQUIST_SANITIZE=ON -DVELQUIST_FUZZ=ON >/dev/null
cmake --build build/fuzz --target "$target" -j2
mkdir -p "build/fuzz/corpus/$target"
exec "build/fuzz/tests/fuzz/$target" "build/fuzz/corpus/$target" "$seeds" "$@"
