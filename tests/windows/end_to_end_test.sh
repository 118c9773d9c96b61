#!/bin/bash
# The real velquist.exe under Wine with the simulated station on COM1: it starts, is quit with
# Ctrl+Q as a user would, and leaves its placement and station choice in the registry.
# Usage: end_to_end_test.sh VELQUIST_EXE   (WINEPREFIX, DISPLAY and VELQUIST_STATION_LOG set)
set -uo pipefail
exe=$1
source "$(dirname "$0")/script_checks.sh"

"$wine" reg delete 'HKCU\Software\Quenby\DCC' /f </dev/null >/dev/null 2>&1
lines_before=$(wc -l <"$VELQUIST_STATION_LOG")

windows() { xdotool search --onlyvisible --name '^Velquist$' 2>/dev/null | sort; }
# A window left over from an earlier run in this prefix must not be taken for ours.
earlier=$(windows)
"$tools/wine-run.sh" "$exe" </dev/null >/dev/null 2>&1 &
pid=$!
window=
for _ in $(seq 300); do
    window=$(comm -13 <(echo "$earlier") <(windows) | head -1)
    [ -n "$window" ] && break
    sleep 0.1
done
check "the main window appears" test -n "$window"
# Keys reach the window once it has the focus; until the program is ready for them, try again.
for _ in $(seq 30); do
    if [ -n "$window" ]; then
        xdotool windowfocus "$window" 2>/dev/null
        xdotool key --clearmodifiers ctrl+q 2>/dev/null
    fi
    for _ in $(seq 10); do
        kill -0 "$pid" 2>/dev/null || break 2
        sleep 0.1
    done
done
if kill -0 "$pid" 2>/dev/null; then
    check "Ctrl+Q ends the program" false
    kill "$pid"
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null && sleep 0.1; done
    kill -KILL "$pid" 2>/dev/null
fi
wait "$pid"
check "the program exits with 0" test $? -eq 0

check "MainLocation is the first-run position 30, 50" test "$(registry MainLocation)" = "REG_DWORD 0x1e0032"
check "MainZoom is 0" test "$(registry MainZoom)" = "REG_DWORD 0x0"
check "Version is the build text" test "$(registry Version)" = "REG_SZ 14:19:53:12"
check "CmdSt_IDX is the NCEp tag" test "$(registry CmdSt_IDX)" = "REG_DWORD 0x7045434e"
check "CmdSt_CFG is 9600|COM1" test "$(registry CmdSt_CFG)" = "REG_SZ 9600|COM1"
new_lines=$(tail -n +"$((lines_before + 1))" "$VELQUIST_STATION_LOG" | awk '{ print $2 }' | tr '\n' ' ')
check "the station received only the closing X" test "$new_lines" = "X "

[ "$failures" -eq 0 ]
