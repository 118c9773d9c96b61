#!/bin/bash
# Starts or stops a simulated station in the background, linked at DIR/com1 and logging the
# lines it receives to DIR/station.log. Usage: sim-station-ctl.sh start SIM_BINARY DIR [OPTIONS]
#                                              sim-station-ctl.sh stop DIR
set -euo pipefail
case "$1" in
start)
    sim=$2 dir=$3
    shift 3
    mkdir -p "$dir"
    if [ -f "$dir/station.pid" ] && kill -0 "$(cat "$dir/station.pid")" 2>/dev/null; then
        kill "$(cat "$dir/station.pid")"
        sleep 0.2
    fi
    rm -f "$dir/station.log"
    "$sim" --link "$dir/com1" --log "$dir/station.log" "$@" </dev/null >"$dir/station.out" 2>&1 &
    echo $! >"$dir/station.pid"
    for _ in $(seq 50); do
        [ -L "$dir/com1" ] && exit 0
        sleep 0.1
    done
    echo "simulated station did not start:" >&2
    cat "$dir/station.out" >&2
    exit 1
    ;;
stop)
    dir=$2
    if [ -f "$dir/station.pid" ]; then
        kill "$(cat "$dir/station.pid")" 2>/dev/null || true
        rm -f "$dir/station.pid"
    fi
    ;;
*)
    echo "usage: sim-station-ctl.sh start SIM_BINARY DIR [OPTIONS] | stop DIR" >&2
    exit 2
    ;;
esac
