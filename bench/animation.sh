#!/bin/bash
# CPU cost of the Version tab's train strip under Wine: the CPU time velquist.exe (and the X
# server that receives its frames) uses per second of wall time, with the Version tab at the
# fastest speed, at the starting speed, and on another tab as the baseline.
# Usage: bench/animation.sh [SAMPLES]   (2-second samples; builds what it needs; own Xvfb)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
samples=${1:-10}
dir=$root/build/bench-animation
source bench/wine_bench_setup.sh

ticks_per_second=$(getconf CLK_TCK)
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

# sample NAME: the medians of CPU ms per second of velquist.exe and of the X server
sample() {
    local app_rates=() x_rates=() app0 x0 app1 x1
    for _ in $(seq "$samples"); do
        app0=$(cpu_ticks "$app_pid") x0=$(cpu_ticks "$xvfb_pid")
        sleep 2
        app1=$(cpu_ticks "$app_pid") x1=$(cpu_ticks "$xvfb_pid")
        app_rates+=($(((app1 - app0) * 1000 / ticks_per_second / 2)))
        x_rates+=($(((x1 - x0) * 1000 / ticks_per_second / 2)))
    done
    echo "$1: velquist.exe $(printf '%s\n' "${app_rates[@]}" | median) ms/s," \
         "X server $(printf '%s\n' "${x_rates[@]}" | median) ms/s (median of $samples samples of 2 s)"
}

tools/wine-run.sh reg delete 'HKCU\Software\Quenby\DCC' /f </dev/null >/dev/null 2>&1 || true
tools/wine-run.sh "$exe" </dev/null >/dev/null 2>&1 &
app_pid=$!
ui main tab 7 sleep 2000 >/dev/null
sample "Connection Setup tab (no animation)"
# Tab 8 is Version; the slider (1088) starts at speed 3, End moves it to the fastest, 6.
ui tab 8 sleep 2000 >/dev/null
sample "Version tab, speed 3 (35 ms, 3 px)"
speed=$(ui key 1088 35 sleep 500 send 1087 1025 0 0)
[ "$speed" = 6 ] || { echo "the strip did not reach the fastest speed: $speed" >&2; exit 1; }
sample "Version tab, speed 6 (31 ms, 6 px)"
ui quit >/dev/null
wait "$app_pid" || true
app_pid=
