#!/bin/bash
# The real velquist.exe moved to the station on COM2 from its Connection Setup tab: the port is
# typed, Test reaches that station and shows its version, and the choice is stored at exit.
# Usage: connection_setup_test.sh VELQUIST_EXE UI_DRIVER_EXE
#        (WINEPREFIX, DISPLAY, VELQUIST_STATION_LOG and VELQUIST_STATION2_LOG set)
set -uo pipefail
exe=$1
ui=$2
source "$(dirname "$0")/script_checks.sh"
new_lines() { # new_lines LOG FIRST_LINE -> the commands logged from that line on, each followed by a space
    tail -n +"$2" "$1" | awk '{ print $2 }' | tr '\n' ' '
}

"$wine" reg delete 'HKCU\Software\Quenby\DCC' /f </dev/null >/dev/null 2>&1
com1_before=$(($(wc -l <"$VELQUIST_STATION_LOG") + 1))
com2_before=$(($(wc -l <"$VELQUIST_STATION2_LOG") + 1))

"$tools/wine-run.sh" "$exe" </dev/null >/dev/null 2>&1 &
pid=$!
# Connection Setup is tab 7; 1036 is the port box, 1025 Test, 1028 the version text.
answers=$("$tools/wine-run.sh" "$ui" main tab 7 get 1036 set 1036 COM2 click 1025 box get 1028 \
          answer 1 quit </dev/null 2>/dev/null | tr -d '\r')
echo "$answers"
for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
    check "the program quits" false
    kill "$pid"
fi
wait "$pid"
check "the program exits with 0" test $? -eq 0

mapfile -t lines <<<"$answers"
check "the options page starts on COM1" test "${lines[0]:-}" = "COM1"
check "Test reports success" \
    test "${lines[1]:-}" = "NCE Powerhouse Pro|Communication with PowerHouse Pro OK"
check "the version is the COM2 station's" test "${lines[2]:-}" = "Second station on COM2"
check "CmdSt_CFG is 9600|COM2" test "$(registry CmdSt_CFG)" = "REG_SZ 9600|COM2"
# The tests after this one expect the program on COM1.
"$wine" reg delete 'HKCU\Software\Quenby\DCC' /f </dev/null >/dev/null 2>&1
check "the COM1 station was closed once" test "$(new_lines "$VELQUIST_STATION_LOG" "$com1_before")" = "X "
check "the COM2 station was asked for its version, then closed" \
    test "$(new_lines "$VELQUIST_STATION2_LOG" "$com2_before")" = "X V X "

[ "$failures" -eq 0 ]
