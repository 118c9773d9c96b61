#!/bin/bash
# Every wait for the station ends: the real velquist.exe against a simulated station on COM1
# that chatters, stays silent, or vanishes in the middle of an answer. The locomotive page's Read
# and Connection Setup's Test must each end with an error box within the answer timeouts (16 s
# an answer; a first Read waits for "M" and then for the first read). The normal station is
# back on COM1 at the end.
# Usage: waits_end_test.sh VELQUIST_EXE VELQUIST_UI_EXE SIM_STATION STATION_DIR (WINEPREFIX, DISPLAY)
set -uo pipefail
exe=$1 ui_exe=$2 sim=$3 station_dir=$4
source "$(dirname "$0")/script_checks.sh"
pid=
restore_station_on_exit "$sim" "$station_dir"
# A driver run that does not end is a wait that did not end: cut it off and say so.
ui() { timeout "$1" "$tools/wine-run.sh" "$ui_exe" "${@:2}" </dev/null 2>/dev/null | tr -d '\r'; }
elapsed() { awk 'NR == 1 { start = $1 } NR == 2 { printf "%d", ($1 - start) / 1000 }' <<<"$1"; }

# run_case NAME READ_LIMIT TEST_LIMIT STATION_OPTIONS...: the Read, then the Test, each to end with
# an error box within its limit in seconds.
run_case() {
    local name=$1 read_limit=$2 test_limit=$3 vanish= stopper=
    shift 3
    [ "${1:-}" = vanish ] && { vanish=1; shift; }
    "$tools/sim-station-ctl.sh" start "$sim" "$station_dir" "$@"
    "$wine" reg delete 'HKCU\Software\Quenby\DCC' /f </dev/null >/dev/null 2>&1
    "$tools/wine-run.sh" "$exe" </dev/null >/dev/null 2>&1 &
    pid=$!
    ui 60 main 60 tab 0 >/dev/null
    # The station goes away while the program waits for the answer to the first read.
    if [ -n "$vanish" ]; then
        (sleep 2 && "$tools/sim-station-ctl.sh" stop "$station_dir") &
        stopper=$!
    fi
    local out
    out=$(ui $((read_limit + 20)) clock click 1052 box "$read_limit" clock answer 1 idle 30)
    mapfile -t lines <<<"$out"
    check "$name: Read ends with an error box" \
        test "$(cut -d'|' -f1 <<<"${lines[1]:-}")" = Error -a -n "$(cut -d'|' -f2 <<<"${lines[1]:-}")"
    echo "  ${lines[1]:-no box} after $(elapsed "${lines[0]:-0}"$'\n'"${lines[2]:-0}") s"
    [ -n "$stopper" ] && wait "$stopper"
    out=$(ui $((test_limit + 20)) tab 7 clock click 1025 box "$test_limit" clock answer 1 idle 30)
    mapfile -t lines <<<"$out"
    check_equal "$name: Test ends with its error box" "Error|Cannot communicate with PowerHouse Pro" \
        "${lines[1]:-}"
    echo "  after $(elapsed "${lines[0]:-0}"$'\n'"${lines[2]:-0}") s"
    ui 60 quit >/dev/null
    wait "$pid"
    check "$name: the program exits with 0" test $? -eq 0
    pid=
}

# Chattering fast enough to reach the 1,024-byte limit; the slow line is the silent one's deadline.
run_case "chattering line" 20 20 --fault chatter --chatter-ms 1
run_case "silent line" 40 24 --fault silent
run_case "vanishing station" 20 20 vanish --latency-ms 5000

[ "$failures" -eq 0 ]
