#!/bin/bash
# The speed table page of the real velquist.exe against the simulated station: Read puts the 28
# reads on the wire in order, Default Table and Write Changes write only the steps that differ,
# and a thumb moved to a new value writes that one CV.
# Usage: speed_table_test.sh VELQUIST_EXE VELQUIST_UI_EXE (WINEPREFIX, DISPLAY, VELQUIST_STATION_LOG)
set -uo pipefail
exe=$1
ui=$2
source "$(dirname "$0")/script_checks.sh"
drive() { "$tools/wine-run.sh" "$ui" "$@" </dev/null | tr -d '\r'; }
slider=1400 # slider k has the id 1400 + k
setValue=1024 # WM_USER: the value, then 1 to report it as the user's

# Another test may have left the program on another port: start from the defaults (COM1).
"$tools/wine-run.sh" reg delete 'HKCU\Software\Quenby\DCC' /f </dev/null >/dev/null 2>&1
"$tools/wine-run.sh" "$exe" </dev/null >/dev/null 2>&1 &
pid=$!

boxes=()
for k in $(seq 28); do boxes+=(get $((1269 + k))); done
read_values=$(drive main 60 tab 1 click 1052 idle 120 "${boxes[@]}" | tr '\n' ' ' | sed 's/ $//')
reads=$(for cv in $(seq 67 94); do printf 'R%03d ' "$cv"; done | sed 's/ $//')
take_wire '^R'
check_equal "Read puts R067 to R094 on the wire in order" "$reads" "$wire"
check_equal "every step shows a value" 28 "$(echo "$read_values" | wc -w)"

defaults=(9 18 27 36 45 54 63 72 81 91 100 109 118 127 136 145 154 163 173 182 191 200 209 218
    227 236 245 255)
expected=$(
    k=0
    for value in $read_values; do
        [ "$value" != "${defaults[$k]}" ] && printf 'P%03d %03d\n' $((67 + k)) "${defaults[$k]}"
        k=$((k + 1))
    done | tr '\n' ' ' | sed 's/ $//'
)
after_default=$(drive click 1298 click 1054 idle 120 "${boxes[@]}" | tr '\n' ' ' | sed 's/ $//')
check_equal "Default Table fills the boxes" "${defaults[*]}" "$after_default"
take_wire '^P'
check_equal "Write Changes writes the steps that differ" "$expected" "$wire"

drive send $((slider + 5)) $setValue 40 1 >/dev/null
check_equal "the thumb wrote its box" 40 "$(drive get 1274)"
drive click 1054 idle 120 >/dev/null
take_wire '^P'
check_equal "Write Changes writes the moved step only" "P071 040" "$wire"

drive quit >/dev/null
wait "$pid"
check_equal "the program exits with 0" 0 "$?"
[ "$failures" -eq 0 ]
