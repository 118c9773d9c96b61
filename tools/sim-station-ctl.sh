#!/bin/bash
# Starts or stops a simulated station in the background, linked at DIR/com1 and logging the
# lines it receives to DIR/station.log. Usage: sim-station-ctl.sh start SIM_BINARY DIR [OPTIONS]
#                                              sim-station-ctl.sh stop DIR
set -euo pipefail
source "$(dirname "$0")/process-stamp.sh"
# DIR/station.pid holds the station's process stamp: a station left by a crashed run is stopped,
# while a process that has since been given its id is left alone.
stop_station() {
    [ -f "$1/station.pid" ] && stop_stamped "$(cat "$1/station.pid")"
    rm -f "$1/station.pid"
}
case "$1" in
start)
    sim=$2 dir=$3
    shift 3
    mkdir -p "$dir"
    stop_station "$dir"
    rm -f "$dir/station.log"
    "$sim" --link "$dir/com1" --log "$dir/station.log" "$@" </dev/null >"$dir/station.out" 2>&1 &
    process_stamp $! >"$dir/station.pid" || true
    for _ in $(seq 50); do
        [ -L "$dir/com1" ] && exit 0
        sleep 0.1
    done
    echo "simulated station did not start:" >&2
    cat "$dir/station.out" >&2
    exit 1
    ;;
stop)
    stop_station "$2"
    ;;
*)
    echo "usage: sim-station-ctl.sh start SIM_BINARY DIR [OPTIONS] | stop DIR" >&2
    exit 2
    ;;
esac
