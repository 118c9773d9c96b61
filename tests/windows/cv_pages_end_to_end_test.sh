#!/bin/bash
# The locomotive page and the CV editor in the real velquist.exe under Wine, driven through the
# UI driver against the simulated station on COM1. A first run writes a known decoder with Write
# All; a second reads it back, writes one edited box, and works CV 29 bit by bit; a third writes
# on the main, where the decoder (short 3 again after the reset) takes only what is addressed to it.
# Usage: cv_pages_end_to_end_test.sh VELQUIST_EXE UI_DRIVER_EXE
#        (WINEPREFIX, DISPLAY and VELQUIST_STATION_LOG set)
set -uo pipefail
exe=$1 ui_exe=$2
source "$(dirname "$0")/script_checks.sh"
windows_path() { echo "Z:${1//\//\\}"; }
ui() { "$tools/wine-run.sh" "$ui_exe" "$@" </dev/null | tr -d '\r' | tr '\n' ' ' | sed 's/ $//'; }
log_mark=0
mark_wire() { log_mark=$(wc -l <"$VELQUIST_STATION_LOG"); }
# Checks the lines the station received since the last mark, one word each ("P029 047" as
# P029:047), and marks the log again.
check_wire() { # check_wire DESCRIPTION EXPECTED
    check_equal "$1" "$2" "$(tail -n +"$((log_mark + 1))" "$VELQUIST_STATION_LOG" | cut -d' ' -f2- |
        tr ' ' ':' | tr '\n' ' ' | sed 's/ $//')"
    mark_wire
}
# The station may leave programming mode while the user reads a question: only reads and writes
# count.
check_no_cv_command() { # check_no_cv_command DESCRIPTION
    check_equal "$1" "" "$(tail -n +"$((log_mark + 1))" "$VELQUIST_STATION_LOG" | cut -d' ' -f2 |
        grep -E '^[RP]' | tr '\n' ' ')"
    mark_wire
}
pid=
start_program() {
    mark_wire
    "$tools/wine-run.sh" "$exe" </dev/null >/dev/null 2>&1 &
    pid=$!
    ui main 60 >/dev/null
}
quit_program() {
    ui quit >/dev/null
    if ! wait "$pid"; then
        check "the program exits with 0" false
    fi
    check_wire "quitting leaves programming mode" "X"
}

# The locomotive page's boxes in binding order, without the read-only CV 8 and CV 7.
boxes=(1042 1043 1059 1060 1044 1045 1046 1047 1048 1049 1058 1064 1053 1055)
values=(5 1234 2 4 10 120 250 7 130 126 30 9 17 170)
# Reversed, 28 steps, power conversion on, advanced ack off, normal table, long address: 39.
radios=(1063 1066 1067 1070 1071 1074)

# This run's writes are journaled in a file of its own, so Ctrl+Z finds only them.
use_work_folder
export VELQUIST_JOURNAL="Z:${work//\//\\}\\journal.csv"

# Earlier runs may have left the program on another port: it must start on COM1.
"$wine" reg delete 'HKCU\Software\Quenby\DCC' /f </dev/null >/dev/null 2>&1
start_program
set_all=()
for i in "${!boxes[@]}"; do set_all+=(set "${boxes[$i]}" "${values[$i]}"); done
for id in "${radios[@]}"; do set_all+=(click "$id"); done
ui "${set_all[@]}" click 1056 idle >/dev/null
check_wire "Write All writes every box in binding order, the long address as CV 18 and CV 17" \
    "M P001:005 P018:210 P017:196 P003:002 P004:004 P029:039 P002:010 P006:120 P005:250 P065:007 P066:130 P095:126 P010:030 P011:009 P105:017 P106:170"
quit_program

start_program
ui click 1052 idle >/dev/null
check_wire "Read enters programming mode and reads the 18 CVs in binding order" \
    "M R008 R007 R001 R018 R017 R003 R004 R029 R002 R006 R005 R065 R066 R095 R010 R011 R105 R106"
get_all=(get 1050 get 1051)
for id in "${boxes[@]}"; do get_all+=(get "$id"); done
check_equal "Read shows the decoder in the boxes" "NCE Corporation - 11 42 ${values[*]}" \
    "$(ui "${get_all[@]}")"
radio_state=()
for id in 1062 1063 1065 1066 1067 1068 1069 1070 1071 1072 1073 1074; do
    radio_state+=(checked "$id")
done
check_equal "Read shows CV 29 in the radio pairs" "0 1 0 1 1 0 0 1 1 0 0 1" "$(ui "${radio_state[@]}")"

ui set 1044 11 click 1054 idle >/dev/null
check_wire "Write Changes writes the one edited box" "P002:011"

bits=()
for id in 1000 1001 1002 1003 1004 1005 1006 1007; do bits+=(checked "$id"); done
check_equal "the CV editor reads CV 29 into the value and its bits" "39 0 0 1 0 0 1 1 1" \
    "$(ui tab 2 set 1009 29 click 101 idle get 1008 "${bits[@]}")"
check_wire "the CV editor read CV 29" "R029"
check_equal "setting bit 3 and clearing bit 0 changes the value" "46" \
    "$(ui click 1004 click 1007 get 1008)"
check_equal "Write CV with re-read writes CV 29 and reads it back" "46" \
    "$(ui click 1010 click 100 idle get 1008)"
check_wire "the CV editor wrote CV 29 and read it back" "P029:046 R029"

check_equal "Ctrl+Z asks before it undoes the CV editor's write" \
    "Undo|Undo the last write: CV 29 39?46?" "$(ui menu 40004 box answer 6 idle)"
check_wire "the undo reads CV 29 first, then writes back its value before" "R029 P029:039"
check_equal "Write CV on CV 8 points to Factory Reset" \
    "Error|CV is Read Only. To reset the decoder to its factory settings, use Factory Reset$(printf '\x85')" \
    "$(ui set 1009 8 click 100 box answer 1)"
check_no_cv_command "and reads or writes nothing"
check_equal "Factory Reset names the decoder and its writes, offers a backup, then says what next" \
    "Factory Reset|Reset the NCE Corporation decoder (ID 11) to its factory settings by writing CV 30 = 2?  Every setting returns to the maker's, and the address to 3. Factory Reset|Back the decoder up to a file first? Factory Reset|Switch the track power off and on, then Read." \
    "$(ui click 102 box answer 6 box answer 6 save "$(windows_path "$work/before-reset")" box answer 1 idle)"
check_equal "the backup read the 61 CVs a backup takes, then the reset wrote CV 30 = 2" \
    "61 P030:002" "$(tail -n +"$((log_mark + 1))" "$VELQUIST_STATION_LOG" | cut -d' ' -f2- |
        awk '/^R/ { n++ } /^P/ { print n, $1 ":" $2 }')"
mark_wire
check_equal "the backup is a decoder file" "4151" "$(stat -c %s "$work/before-reset")"
check_equal "after the reset the locomotive page reads address 3" "3" \
    "$(ui tab 0 click 1052 idle get 1042)"
mark_wire
check_equal "a reset is no undo target: Ctrl+Z offers the Write Changes before it, No writes nothing" \
    "Undo|Undo the last write: CV 2 10?11?" "$(ui menu 40004 box answer 7 idle)"
check_no_cv_command "after No nothing is read or written"
quit_program

# The station's log of the main since the last mark: "AA", then each packet as decoded. Run in
# a subshell, it leaves the marking to its caller.
main_wire() {
    tail -n +"$((log_mark + 1))" "$VELQUIST_STATION_LOG" | cut -d' ' -f2- |
        sed 's/^[0-9A-F ]*: //' | paste -sd'|'
}
# The reset above left the decoder at short address 3.
to_3="locomotive 3 short, write CV"
start_program
check_equal "choosing the main names the locomotive in the window title" \
    "Velquist - programming on the main: locomotive 3" "$(ui tab 7 set 1452 3 click 1451 title)"
check_equal "on the main the locomotive page cannot read" "0" "$(ui tab 0 enabled 1052)"
ui set 1044 12 click 1054 idle >/dev/null
check_equal "Write Changes sends CV 2 twice as a packet for short 3, no M" \
    "AA|$to_3 2 = 12|$to_3 2 = 12" "$(main_wire)"
mark_wire
check_equal "the CV editor cannot read on the main and says so" \
    "0 Nothing can be read back on the main" "$(ui tab 2 enabled 101 get 1011)"
check_equal "Write CV on the main is not verified" "CV 5 = 77 written on the main (not verified)" \
    "$(ui set 1009 5 set 1008 77 click 100 idle get 1011)"
check_equal "the CV editor's write went out as packets" "$to_3 5 = 77|$to_3 5 = 77" \
    "$(main_wire)"
mark_wire
check_equal "an address that is none is refused, and nothing goes anywhere" \
    "Velquist - programming on the main: no valid address" "$(ui tab 7 set 1452 12a title)"
ui tab 7 set 1452 1235 tab 2 set 1008 99 click 100 idle >/dev/null
check_equal "a write to long 1235 goes out" "locomotive 1235 long, write CV 5 = 99" \
    "$(main_wire | cut -d'|' -f1)"
mark_wire
check_equal "back on the programming track the title is plain" "Velquist" \
    "$(ui tab 7 click 1450 title)"
check_equal "the decoder took only what was addressed to it" "77 12" \
    "$(ui tab 2 set 1009 5 click 101 idle get 1008 set 1009 2 click 101 idle get 1008)"
check_wire "the programming track reads again" "M R005 R002"
quit_program

[ "$failures" -eq 0 ]
