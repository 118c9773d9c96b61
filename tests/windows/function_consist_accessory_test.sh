#!/bin/bash
# The function map, consist and accessory pages of the real velquist.exe against the simulated
# station: each page's Read puts its CVs on the wire in table order, an edit plus Write Changes
# writes only the CVs that changed, and bad input is refused with a message while the other CVs
# are still written. Expectations follow from what the pages read, so earlier writes to the
# station do not matter.
# Usage: function_consist_accessory_test.sh VELQUIST_EXE UI_DRIVER_EXE
#        (WINEPREFIX, DISPLAY and VELQUIST_STATION_LOG set)
set -uo pipefail
exe=$1
driver=$2
source "$(dirname "$0")/script_checks.sh"
ui() { "$tools/wine-run.sh" "$driver" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
write() { printf 'P%03d %03d' "$1" "$2"; } # the station's write command for CV $1 = $2

# Another test may have left the program on another port: start from the defaults (COM1).
"$tools/wine-run.sh" reg delete 'HKCU\Software\Quenby\DCC' /f </dev/null >/dev/null 2>&1
"$tools/wine-run.sh" "$exe" </dev/null >/dev/null 2>&1 &
pid=$!
check_equal "the main window appears" "" "$(ui main 60)"

# Function map: toggle output 2 of FL front.
ui tab 3 click 1052 idle 60
take_wire '^[RP]'
check_equal "function map Read order" "R033 R034 R035 R036 R037 R038 R039 R040 R041 R042" "$wire"
front=$(ui get 1194)
ui click 1104 idle 60 click 1054 idle 60
take_wire '^[RP]'
check_equal "function map writes only FL front" "$(write 33 $((front ^ 2)))" "$wire"

# Consist: a new address and F3 toggled.
ui tab 4 click 1052 idle 60
take_wire '^[RP]'
check_equal "consist Read order" "R019 R021 R022 R023 R024" "$wire"
address=$(ui get 1249)
functions=$(ui get 1267)
new_address=$(((address + 1) % 128))
ui set 1249 "$new_address" click 1259 idle 60 click 1054 idle 60
take_wire '^[RP]'
check_equal "consist writes CV 19 and CV 21 only" \
    "$(write 19 "$new_address") $(write 21 $((functions ^ 4)))" "$wire"
check_equal "a consist address of 300 is refused" "Error|Error with Consist Address, Value too large" \
    "$(ui set 1249 300 click 1054 box answer 1 idle 60)"
take_wire '^[RP]'
check_equal "nothing else changed, nothing written" "" "$wire"
ui set 1249 "$new_address"

# Accessory: a new address (both halves change) and auxiliary output 8 toggled. Its CVs lie above
# 255: Read asks once before the first, answered Yes.
check_equal "accessory Read asks once before CV 520" \
    "Warning|CV 520 is above 255. On this station's programming track a read above CV 255 may read another CV instead (CV 520 reaches CV 8). Read it anyway?" \
    "$(ui tab 5 click 1052 box answer 6 idle 60)"
take_wire '^[RP]'
check_equal "accessory Read order" "R520 R519 R513 R521 R514 R515 R516 R517 R518" "$wire"
low=$(ui get 1095)
high=$(ui get 1094)
address=$(ui get 1093)
aux=$(ui get 1096)
time_on=$(ui get 1089)
check_equal "the address joins CV 513 and the low bits of CV 521" \
    "$(((high & 7) * 64 + (low & 63)))" "$address"
new_address=$(((address + 65) % 512))
# The accessory CVs lie above 255: the station's warning comes first, answered Yes.
warning="Warning|CV 513 is above 255. On this station's programming track a write above CV 255"
warning+=" can change another CV instead. NCE advises programming such CVs on the main. Write it anyway? Answer No to leave it, or choose 'The main' on Connection Setup to write it there."
check_equal "Write Changes asks before the first CV above 255" "$warning" \
    "$(ui set 1093 "$new_address" click 1115 idle 60 click 1054 box answer 6 idle 60)"
take_wire '^[RP]'
check_equal "accessory writes CV 513, CV 521 and CV 514, never 519 or 520" \
    "$(write 513 $(((low & ~63) | (new_address & 63)))) $(write 521 $(((high & ~7) | (new_address / 64)))) $(write 514 $((aux ^ 128)))" \
    "$wire"
new_time_on=$(((time_on + 1) % 256))
check_equal "an address of 600 is refused on Write Changes" \
    "Error|Error with Address, Value too large ${warning/CV 513/CV 515}" \
    "$(ui set 1093 600 set 1089 "$new_time_on" click 1054 box answer 1 box answer 6 idle 60 |
        tr '\n' ' ' | sed 's/ $//')"
take_wire '^[RP]'
check_equal "the other CVs are still written" "$(write 515 "$new_time_on")" "$wire"
check_equal "and again when the tab is left" "Error|Error with Address, Value too large" \
    "$(ui tab 0 box answer 1 idle 60)"

ui quit
wait "$pid"
check_equal "the program exits with 0" 0 $?
[ "$failures" -eq 0 ]
