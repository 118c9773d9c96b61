#!/bin/bash
# Builds both presets and runs every test: the native core under ASan and UBSan, then the
# Windows build under Wine on a private Xvfb display. Exits non-zero on any failure.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD

tools/install-deps.sh cmake make g++ googletest libgtest-dev libgmock-dev \
    g++-mingw-w64-x86-64-posix wine64 fonts-wine xvfb xdotool x11-utils nsis || exit 1

source tools/wine-env.sh
source tools/process-stamp.sh
jobs=$(nproc)
log=$(mktemp)
xvfb=
cleanup() {
    WINEPREFIX=$root/build/windows/wineprefix timeout 30 "$VELQUIST_WINESERVER" -k </dev/null >/dev/null 2>&1
    tools/sim-station-ctl.sh stop "$root/build/windows/station" >/dev/null 2>&1
    stop_stamped "$xvfb"
    rm -f "$log"
}
trap cleanup EXIT

status=0
step() {
    echo "== $*"
    "$@" || { echo "!! failed: $*"; status=1; return 1; }
}

native_built=
if step cmake --preset native >/dev/null && step cmake --build --preset native -j"$jobs"; then
    native_built=1
    step ctest --preset native -j"$jobs" 2>&1 | tee -a "$log"
    [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
fi

if [ -z "$native_built" ]; then
    # They talk to the simulated station, a program of the native build.
    echo "!! not running the Windows tests: the native build they need failed (see above)"
    status=1
elif step cmake --preset windows >/dev/null && step cmake --build --preset windows -j"$jobs"; then
    read -r display xvfb_pid < <(tools/xvfb.sh 1280x1024x24) || { status=1; display=; }
    xvfb=$(process_stamp "$xvfb_pid") || true
    if [ -n "$display" ]; then
        DISPLAY=$display step ctest --preset windows 2>&1 | tee -a "$log"
        [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
    fi
fi

# One closing line over both test runs.
passed=0 failed=0
while read -r p f; do
    passed=$((passed + p)) failed=$((failed + f))
done < <(sed -n 's/.*tests passed, \([0-9]*\) tests\? failed out of \([0-9]*\).*/\2 \1/p' "$log" |
         awk '{ print $1 - $2, $2 }')
[ "$status" -eq 0 ] || [ "$failed" -gt 0 ] || failed=1
echo "total: $passed passed, $failed failed"
exit "$status"
