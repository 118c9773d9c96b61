#!/bin/bash
# Builds Velquist and runs velquist.exe under Wine, in a Wine prefix of its own, with COM1 on the
# simulated station (or on a real serial device). Without an X display it runs on Xvfb and
# keeps a screenshot of the window up to date.
#
# Usage: tools/run.sh [--device DEVICE] [--real-timing] [--screenshot FILE]
#                     [--protocol ascii|binary] [--system SYSTEM]
#   --device DEVICE    use a real station on DEVICE (e.g. /dev/ttyUSB0) as COM1
#                      (also: VELQUIST_DEVICE=DEVICE tools/run.sh)
#   --real-timing      the simulated station answers as a real Powerhouse Pro does, and as
#                      slowly: reads take 0.6 to 0.9 s, writes about 0.2 s
#   --screenshot FILE  where the screenshot goes without a display (default build/run/velquist.png)
#   --protocol binary  the simulated station speaks NCE's binary command set (choose the binary
#                      driver on Connection Setup); ascii, the Powerhouse Pro's lines, by default
#   --system SYSTEM    the binary station's system: powerhouse-pro-6.2.1 (default) or
#                      power-cab-usb-7.3.3
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
run=$root/build/run
device=${VELQUIST_DEVICE:-}
screenshot=$run/velquist.png
station_options=()
while [ $# -gt 0 ]; do
    case "$1" in
    --device) device=${2:?--device needs a device, e.g. /dev/ttyUSB0}; shift 2 ;;
    --real-timing) station_options+=(--real-timing --answer-style real); shift ;;
    --screenshot) screenshot=$(realpath -m "${2:?--screenshot needs a file name}"); shift 2 ;;
    --protocol | --system) station_options+=("$1" "${2:?$1 needs a value}"); shift 2 ;;
    *)
        echo "usage: tools/run.sh [--device DEVICE] [--real-timing] [--screenshot FILE]" \
            "[--protocol ascii|binary] [--system SYSTEM]" >&2
        exit 2
        ;;
    esac
done
if [ -n "$device" ] && [ ! -e "$device" ]; then
    echo "run.sh: $device does not exist" >&2
    exit 1
fi

tools/install-deps.sh cmake make g++ googletest libgtest-dev libgmock-dev \
    g++-mingw-w64-x86-64-posix wine64 fonts-wine xvfb xdotool x11-utils imagemagick

echo "== Building"
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$(nproc)" --target velquist >/dev/null
if [ -z "$device" ]; then
    cmake --preset native >/dev/null
    cmake --build --preset native -j"$(nproc)" --target velquist-sim-station >/dev/null
fi

source tools/wine-env.sh
source tools/process-stamp.sh
export WINEPREFIX=$run/wineprefix
mkdir -p "$run"
xvfb="" shots_pid="" app_pid=""
cleanup() {
    set +e
    # Only children of this shell that still run: an id of a reaped one may be anyone's by now.
    for pid in $app_pid $shots_pid; do
        jobs -pr | grep -qx "$pid" && kill "$pid" 2>/dev/null
    done
    timeout 30 "$VELQUIST_WINESERVER" -k </dev/null >/dev/null 2>&1
    tools/sim-station-ctl.sh stop "$run" >/dev/null 2>&1
    stop_stamped "$xvfb"
    true
}
trap cleanup EXIT
trap 'exit 130' INT TERM

own_display=
if [ -z "${DISPLAY:-}" ]; then
    read -r DISPLAY xvfb_pid < <(tools/xvfb.sh 1024x768x24)
    export DISPLAY
    xvfb=$(process_stamp "$xvfb_pid") || true
    own_display=1
fi

echo "== Preparing the Wine prefix $WINEPREFIX"
tools/wine-prefix.sh "$WINEPREFIX" "$run/com1"
# Without a window manager nobody draws the caption: let Wine draw it, as Windows does.
for value in Decorated Managed; do
    if [ -n "$own_display" ]; then
        tools/wine-run.sh reg add 'HKCU\Software\Wine\X11 Driver' /v "$value" /t REG_SZ /d N /f
    else
        tools/wine-run.sh reg delete 'HKCU\Software\Wine\X11 Driver' /v "$value" /f
    fi </dev/null >/dev/null 2>&1 || true
done

if [ -n "$device" ]; then
    ln -sfn "$(realpath "$device")" "$run/com1"
    echo "== COM1 is $device"
else
    tools/sim-station-ctl.sh start build/native/tools/sim_station/velquist-sim-station "$run" \
        --state "$run/decoder.state" "${station_options[@]}"
    echo "== COM1 is the simulated station ($(head -1 "$run/station.out")); it keeps its CVs in $run/decoder.state"
fi

tools/wine-run.sh build/windows/src/app/velquist.exe </dev/null >"$run/velquist.log" 2>&1 &
app_pid=$!

if [ -n "$own_display" ]; then
    (
        while kill -0 "$app_pid" 2>/dev/null; do
            window=$(xdotool search --onlyvisible --name '^Velquist$' 2>/dev/null | head -1 || true)
            [ -n "$window" ] && import -window "$window" "$screenshot.tmp.png" 2>/dev/null &&
                mv "$screenshot.tmp.png" "$screenshot"
            sleep 2
        done
    ) &
    shots_pid=$!
    echo "== No display: Velquist runs on Xvfb $DISPLAY."
    echo "   Look at it in $screenshot (renewed every 2 s), or with DISPLAY=$DISPLAY and any X tool."
fi
if [ -t 0 ]; then
    echo "== Press Enter here to quit Velquist (Ctrl+Q in its window does the same)."
    while kill -0 "$app_pid" 2>/dev/null; do
        if read -r -t 1; then
            window=$(xdotool search --name '^Velquist$' 2>/dev/null | head -1 || true)
            [ -n "$window" ] && xdotool windowfocus "$window" key --clearmodifiers ctrl+q 2>/dev/null
        fi
    done
fi
wait "$app_pid"
status=$?
app_pid=
echo "== Velquist ended with exit code $status"
exit "$status"
