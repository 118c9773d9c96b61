#!/bin/bash
# The real velquist.exe against a simulated station on COM1 that answers as a real Powerhouse
# Pro does: values framed in line ends and blanks, "NO FEEDBACK DETECTED" for a CV the decoder
# does not acknowledge, "COMMAND NOT UNDERSTOOD" with or without a prompt. Then the warning
# before a write above CV 255, answered No and Yes, in the CV editor and on the accessory page,
# and the CLI in each answer style. The normal station is back on COM1 at the end.
# Usage: real_station_end_to_end_test.sh VELQUIST_EXE UI_DRIVER_EXE SIM_STATION STATION_DIR CLI
#        (WINEPREFIX, DISPLAY)
set -uo pipefail
exe=$1 ui_exe=$2 sim=$3 station_dir=$4 cli=$5
export VELQUIST_STATION_LOG=$station_dir/station.log
source "$(dirname "$0")/script_checks.sh"
pid=
restore_station_on_exit "$sim" "$station_dir"
ui() { "$tools/wine-run.sh" "$ui_exe" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
station() { # station OPTIONS...: a fresh station on COM1, its log read from the start
    "$tools/sim-station-ctl.sh" start "$sim" "$station_dir" "$@"
    wire_seen=0
}
fresh_program() { # the program on COM1, whatever an earlier run chose
    "$wine" reg delete 'HKCU\Software\Quenby\DCC' /f </dev/null >/dev/null 2>&1
    start_program
}
warning() { # warning CV: the question before writing that CV
    echo "Warning|CV $1 is above 255. On this station's programming track a write above CV 255" \
        "can change another CV instead. NCE advises programming such CVs on the main. Write it anyway? Answer No to leave it, or choose 'The main' on Connection Setup to write it there."
}

# Values framed in line ends and blanks read and write as plain ones do.
station --answer-style real
fresh_program
check_equal "real answers: Read shows the decoder (CV 1 and CV 7)" "3 42" \
    "$(ui tab 0 click 1052 idle get 1042 get 1051 nobox | tr '\n' ' ' | sed 's/ $//')"
ui set 1044 11 click 1054 idle nobox >/dev/null
take_wire 'P'
check_equal "real answers: Write Changes writes the edited box, no error" "P002 011" "$wire"
check_equal "real answers: the CV editor reads CV 29" "6" \
    "$(ui tab 2 set 1009 29 click 101 idle get 1008 nobox)"
check_equal "real answers: Test shows the version without the line ends around it" \
    "NCE Powerhouse Pro|Communication with PowerHouse Pro OK NCE Powerhouse Pro simulator 1.0" \
    "$(ui tab 7 click 1025 box answer 1 get 1028 | tr '\n' ' ' | sed 's/ *$//')"
quit_program "real answers"
check_equal "real answers: the CLI reads and writes" "29=6 2=11" \
    "$("$cli" --port "$station_dir/com1" write 29=6 2>&1 >/dev/null && "$cli" --port "$station_dir/com1" read 29 2 2>&1 | tr '\n' ' ' | sed 's/ $//')"

# A CV the decoder does not acknowledge, the words coming without a prompt: each access ends
# with the station's words and what they mean (the CV pages keep their own first line). A read is
# tried twice more, a write never.
station --answer-style real-no-prompt --no-feedback-cv 29
fresh_program
nfd="NO FEEDBACK DETECTED: no decoder answered. Is the locomotive on the programming track?"
take_wire
check_equal "no feedback: the CV editor shows the station's words" "Error|$nfd" \
    "$(ui tab 2 set 1009 29 click 101 box answer 1 idle)"
take_wire
check_equal "no feedback: the read was tried three times" "M R029 R029 R029" "$wire"
check_equal "no feedback: Write CV too, naming the decoder lock" \
    "Error|$nfd A locked decoder (CV 15 differs from CV 16) also takes no writes." \
    "$(ui set 1008 7 click 100 box answer 1 idle | tr '\n' ' ' | sed 's/ $//')"
check_equal "no feedback: Read on the locomotive page names the CV, then why" \
    "Error|Error reading Configuration Data #1 $nfd" \
    "$(ui tab 0 click 1052 box answer 1 idle | tr '\n' ' ' | sed 's/ $//')"
quit_program "no feedback"
check_equal "no feedback: the CLI says the station's words" "error: NO FEEDBACK DETECTED" \
    "$("$cli" --port "$station_dir/com1" read 29 2>&1)"

# A station that understands nothing: Test fails at once with its words in the version box.
station --answer-style real-no-prompt --fault not-understood
fresh_program
out=$(ui tab 7 clock click 1025 box 10 clock answer 1 idle get 1028)
mapfile -t lines <<<"$out"
check_equal "not understood: Test fails" "Error|Cannot communicate with PowerHouse Pro" "${lines[1]:-}"
check_equal "not understood: the version box shows the station's words" "COMMAND NOT UNDERSTOOD" \
    "${lines[3]:-}"
check "not understood: Test ends within 2 s" \
    test $(( ${lines[2]:-99999} - ${lines[0]:-0} )) -lt 2000
quit_program "not understood"
check_equal "not understood: the CLI says the station's words" "error: COMMAND NOT UNDERSTOOD" \
    "$("$cli" --port "$station_dir/com1" version 2>&1)"

# Above CV 255 nothing is written without a Yes; No is the default button.
station
fresh_program
check_equal "CV editor: writing CV 300 asks first" "$(warning 300)" \
    "$(ui tab 2 set 1009 300 set 1008 9 click 100 box answer 7 idle)"
take_wire
check_equal "CV editor: No sends nothing" "" "$wire"
ui click 100 box answer 6 idle >/dev/null
take_wire
check_equal "CV editor: Yes writes CV 300" "M P300 009" "$wire"
check_equal "accessory page: Write All asks once, naming CV 513" "$(warning 513)" \
    "$(ui tab 5 click 1052 box answer 6 idle click 1056 box answer 7 idle nobox | tail -1)"
take_wire 'P'
check_equal "accessory page: No writes none of its CVs" "" "$wire"
ui click 1056 box answer 6 idle nobox >/dev/null
take_wire 'P'
check_equal "accessory page: Yes writes them all" \
    "P513 001 P521 000 P514 000 P515 000 P516 000 P517 000 P518 000" "$wire"
quit_program "warnings"

[ "$failures" -eq 0 ]
