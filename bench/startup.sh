#!/bin/bash
# Start-up and exit of velquist.exe under Wine, beside Wine's own notepad as the baseline:
# the time from launch to the first shown window, and from Ctrl+Q to the end of the process.
# Usage: bench/startup.sh [RUNS]   (builds what it needs; runs on its own Xvfb)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
runs=${1:-10}
tools/install-deps.sh cmake make g++ googletest libgtest-dev libgmock-dev \
    g++-mingw-w64-x86-64-posix wine64 fonts-wine xvfb xdotool x11-utils
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$(nproc)" --target velquist >/dev/null
cmake --preset native >/dev/null
cmake --build --preset native -j"$(nproc)" --target velquist-sim-station >/dev/null

dir=$root/build/bench-startup
export WINEPREFIX=$dir/wineprefix
source tools/wine-env.sh
source tools/process-stamp.sh
read -r DISPLAY xvfb_pid < <(tools/xvfb.sh 1024x768x24)
export DISPLAY
xvfb=$(process_stamp "$xvfb_pid") || true
trap 'tools/sim-station-ctl.sh stop "$dir"; timeout 30 "$VELQUIST_WINESERVER" -k; stop_stamped "$xvfb"' EXIT
tools/wine-prefix.sh "$WINEPREFIX" "$dir/com1"
tools/sim-station-ctl.sh start build/native/tools/sim_station/velquist-sim-station "$dir"

now() { date +%s%N; }
ms() { echo $((($2 - $1) / 1000000)); }
# The median, and the spread as the lowest and highest value.
median() { sort -n | awk '{ v[NR] = $1 } END { printf "%s (%s to %s)", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2, v[1], v[NR] }'; }

# measure NAME TITLE COMMAND...: prints "start_ms exit_ms"
measure() {
    local title=$1 start shown quit window pid
    shift
    start=$(now)
    "$@" </dev/null >/dev/null 2>&1 &
    pid=$!
    local give_up=$(($(now) + 60000000000))
    until window=$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -1) && [ -n "$window" ]; do
        [ "$(now)" -lt "$give_up" ] || { echo "no window '$title' within 60 s" >&2; kill "$pid"; return 1; }
        sleep 0.005
    done
    shown=$(now)
    sleep 0.5
    quit=$(now)
    give_up=$(($(now) + 60000000000))
    while kill -0 "$pid" 2>/dev/null; do
        [ "$(now)" -lt "$give_up" ] || { echo "'$title' did not quit within 60 s" >&2; kill -KILL "$pid"; return 1; }
        xdotool windowfocus "$window" key --clearmodifiers "$key" 2>/dev/null || true
        for _ in $(seq 40); do kill -0 "$pid" 2>/dev/null || break; sleep 0.005; done
    done
    echo "$(ms "$start" "$shown") $(ms "$quit" "$(now)")"
}

for app in velquist notepad; do
    : >"$dir/$app.times"
    for _ in $(seq "$runs"); do
        if [ $app = velquist ]; then
            key=ctrl+q measure '^Velquist$' tools/wine-run.sh build/windows/src/app/velquist.exe
        else
            key=alt+F4 measure 'Notepad' tools/wine-run.sh notepad
        fi >>"$dir/$app.times"
    done
    echo "$app: median start to first shown window $(cut -d' ' -f1 "$dir/$app.times" | median) ms," \
         "median exit after the quit key $(cut -d' ' -f2 "$dir/$app.times" | median) ms ($runs runs)"
done
