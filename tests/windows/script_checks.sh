# What the end-to-end scripts share: checks that count failures, the lines the station received,
# and the program's registry values. Sourced; the script sets `set -uo pipefail` itself and ends with [ "$failures" -eq 0 ].
tools=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../tools" && pwd)
source "$tools/wine-env.sh"
wine=$VELQUIST_WINE
failures=0
check() { # check DESCRIPTION COMMAND...
    if "${@:2}"; then echo "ok: $1"; else echo "FAILED: $1"; failures=$((failures + 1)); fi
}
check_equal() { # check_equal DESCRIPTION EXPECTED ACTUAL: shows both when they differ
    if [ "$2" = "$3" ]; then
        echo "ok: $1"
    else
        echo "FAILED: $1"
        echo "  expected: $2"
        echo "  actual:   $3"
        failures=$((failures + 1))
    fi
}
registry() { # registry VALUE -> "TYPE DATA"
    "$wine" reg query 'HKCU\Software\Quenby\DCC' /v "$1" </dev/null 2>/dev/null | tr -d '\r' |
        awk -v name="$1" '$1 == name { $1 = ""; sub(/^ +/, ""); print }'
}
# take_wire [PATTERN]: the command lines the simulated station on COM1 received since the last
# call (or since this file was sourced), those matching PATTERN, joined by spaces, into $wire (not
# printed: a command substitution would lose the count of lines seen).
wire_seen=$(wc -l <"${VELQUIST_STATION_LOG:-/dev/null}")
take_wire() {
    local now
    now=$(wc -l <"$VELQUIST_STATION_LOG")
    wire=$(tail -n +"$((wire_seen + 1))" "$VELQUIST_STATION_LOG" | head -n "$((now - wire_seen))" |
        cut -d' ' -f2- | grep -E "${1:-.}" | tr '\n' ' ' | sed 's/ $//')
    wire_seen=$now
}
# restore_station_on_exit SIM STATION_DIR: for scripts that restart the COM1 station with other
# options: at exit the program they started ($pid) is stopped and the normal station is back.
restore_station_on_exit() {
    restore_sim=$1 restore_dir=$2
    trap 'if [ -n "${pid:-}" ]; then kill "$pid" 2>/dev/null; fi
          "$tools/sim-station-ctl.sh" start "$restore_sim" "$restore_dir"' EXIT
}
# use_work_folder: a scratch folder in $work, and $pid for a program started in the background;
# the program is stopped and the folder removed when the script ends.
use_work_folder() {
    work=$(mktemp -d)
    pid=
    trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
}
# start_program [FILE...]: velquist.exe ($exe) in the background as $pid, once its main window is up;
# quit_program [LABEL]: quits it as Ctrl+Q does and checks it exits with 0. Both use the
# script's own ui function.
start_program() {
    "$tools/wine-run.sh" "$exe" "$@" </dev/null >/dev/null 2>&1 &
    pid=$!
    ui main 60 >/dev/null
}
quit_program() {
    ui quit >/dev/null
    wait "$pid"
    check "${1:+$1: }the program exits with 0" test $? -eq 0
    pid=
}
