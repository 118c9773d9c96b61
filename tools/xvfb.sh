#!/bin/bash
# Starts Xvfb on the first free display and prints "DISPLAY PID". Usage: xvfb.sh [WxHxD]
set -euo pipefail
screen=${1:-1280x1024x24}
for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 "$screen" -nolisten tcp </dev/null >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 50); do
        [ -e "/tmp/.X11-unix/X$n" ] && { echo ":$n $pid"; exit 0; }
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
done
echo "no free X display for Xvfb" >&2
exit 1
