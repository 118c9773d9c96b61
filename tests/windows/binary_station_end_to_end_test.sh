#!/bin/bash
# The binary driver in the real velquist.exe under Wine, against the simulated station on COM1
# speaking NCE's binary command set as a Power Cab behind the USB interface: Connection Setup
# chooses the driver and tests it, the choice survives a restart, and the locomotive page's Read
# and Write Changes and the CV editor work through it. A CV above 255 is written without a
# question on the Power Cab, and only after the warning on a Powerhouse Pro with EPROM 6.2.1,
# which Find Station then finds. The normal station is back on COM1 at the end, and the
# program's settings are gone.
# Usage: binary_station_end_to_end_test.sh VELQUIST_EXE UI_DRIVER_EXE SIM_STATION STATION_DIR
#        (WINEPREFIX, DISPLAY set)
set -uo pipefail
exe=$1 ui_exe=$2 sim=$3 station_dir=$4
source "$(dirname "$0")/script_checks.sh"
log=$station_dir/station.log
pid=
restore_station_on_exit "$sim" "$station_dir"
ui() { "$tools/wine-run.sh" "$ui_exe" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
# The commands the station received since the last call, each as its bytes joined by colons
# ("A9:00:1D"), separated by spaces.
seen=0
take_commands() {
    local now
    now=$(wc -l <"$log")
    commands=$(tail -n +"$((seen + 1))" "$log" | head -n "$((now - seen))" | cut -d' ' -f2- |
        tr ' ' ':' | tr '\n' ' ' | sed 's/ $//')
    seen=$now
}

"$tools/sim-station-ctl.sh" start "$sim" "$station_dir" --protocol binary \
    --system power-cab-usb-7.3.3 || exit 1
"$wine" reg delete 'HKCU\Software\Quenby\DCC' /f </dev/null >/dev/null 2>&1
binary_name="NCE Corporation - Powerhouse Pro 2006+ / Power Cab (binary)"

# Connection Setup is tab 7: 1016 the "DCC Device" list, 1029 the driver's name, 1036 the port,
# 1026 the baud rate, 1025 Test, 1028 the version.
start_program
mapfile -t lines < <(ui tab 7 get 1016 select 1016 1 get 1029 get 1036 get 1026 click 1025 box \
    answer 1 get 1028)
check_equal "a first start chooses the ASCII driver" "NCE Corporation - Powerhouse Pro" \
    "${lines[0]:-}"
check_equal "choosing the binary driver shows its options page" "$binary_name" "${lines[1]:-}"
check_equal "its page starts on COM1 at 9600" "COM1 9600" "${lines[2]:-} ${lines[3]:-}"
check_equal "Test says so in the binary driver's words" \
    "NCE|Communication with the NCE station OK" "${lines[4]:-}"
check_equal "the version box names the system" "7.3.3 (Power Cab 1.65 through the USB interface)" \
    "${lines[5]:-}"
take_commands
check_equal "the ASCII driver closed with X CR LF; Test sent AA alone" "58 0D 0A AA" "$commands"
quit_program
take_commands
check_equal "closing a station never sent 9E sends no 9F" "" "$commands"
check_equal "CmdSt_IDX is the binary driver's tag, NCEb" "REG_DWORD 0x6245434e" \
    "$(registry CmdSt_IDX)"
check_equal "CmdSt_CFG is 9600|COM1" "REG_SZ 9600|COM1" "$(registry CmdSt_CFG)"

start_program
check_equal "after a restart the binary driver is chosen" "$binary_name" "$(ui tab 7 get 1016)"
# The locomotive page: Read (1052), the manufacturer (1050), version (1051) and CV 1 (1042)
# boxes, then Write Changes (1054) of CV 2 (1044).
check_equal "Read shows the decoder" "NCE Corporation - 11 42 3" \
    "$(ui tab 0 click 1052 idle get 1050 get 1051 get 1042 | tr '\n' ' ' | sed 's/ $//')"
take_commands
check_equal "Read enters programming mode once and reads the 18 CVs in binding order" \
    "9E A9:00:08 A9:00:07 A9:00:01 A9:00:12 A9:00:11 A9:00:03 A9:00:04 A9:00:1D A9:00:02 A9:00:06 A9:00:05 A9:00:41 A9:00:42 A9:00:5F A9:00:0A A9:00:0B A9:00:69 A9:00:6A" \
    "$commands"
ui set 1044 11 click 1054 idle >/dev/null
take_commands
check_equal "Write Changes learns the CV limit from the version, then writes the one edited box" \
    "AA A8:00:02:0B" "$commands"
# The CV editor is tab 2: 1009 the CV number, 1008 the value, 101 Read CV, 100 Write CV.
check_equal "the CV editor reads CV 29" "6" "$(ui tab 2 set 1009 29 click 101 idle get 1008)"
check_equal "the CV editor writes CV 29 and reads it back" "38" \
    "$(ui set 1008 38 click 100 idle set 1008 0 click 101 idle get 1008)"
take_commands
check_equal "the CV editor's commands" "A9:00:1D A8:00:1D:26 A9:00:1D" "$commands"
check_equal "a Power Cab's CV 300 is written without a question" "9" \
    "$(ui set 1009 300 set 1008 9 click 100 idle nobox set 1008 0 click 101 idle get 1008)"
take_commands
check_equal "CV 300 was written and read" "A8:01:2C:09 A9:01:2C" "$commands"
quit_program
take_commands
check_equal "quitting leaves programming mode" "9F" "$commands"

# A Powerhouse Pro before EPROM 6.2.3 writes CV 300 to CV 44: the program asks first.
"$tools/sim-station-ctl.sh" start "$sim" "$station_dir" --protocol binary \
    --system powerhouse-pro-6.2.1 || exit 1
seen=0
start_program
check_equal "writing CV 300 on a Powerhouse Pro 6.2.1 asks first" \
    "Warning|CV 300 is above 255. On this station's programming track a write above CV 255 can change another CV instead. NCE advises programming such CVs on the main. Write it anyway?" \
    "$(ui tab 2 set 1009 300 set 1008 9 click 100 box answer 7 idle)"
take_commands
check_equal "the version was asked; No writes nothing" "AA" "$commands"
check_equal "Yes writes it, and the station puts it in CV 44" "9" \
    "$(ui click 100 box answer 6 idle set 1009 44 click 101 idle get 1008 | tail -1)"
take_commands
check_equal "Yes wrote CV 300 once" "9E A8:01:2C:09 A9:00:2C" "$commands"
quit_program

# Find Station (1017) from a first start on the ASCII driver; Yes chooses as if by hand.
take_commands
"$wine" reg delete 'HKCU\Software\Quenby\DCC' /f </dev/null >/dev/null 2>&1
start_program
mapfile -t lines < <(ui tab 7 click 1017 box answer 6 idle get 1016 get 1036 get 1026)
check_equal "Find Station names the station, port, speed and driver" \
    "Find Station|Found an NCE Powerhouse Pro, EPROM 6.2.1, on COM1 at 9600 baud. It programs through the binary driver. Use it?" \
    "${lines[0]:-}"
check_equal "Yes chooses the binary driver on COM1 at 9600" "$binary_name COM1 9600" \
    "${lines[1]:-} ${lines[2]:-} ${lines[3]:-}"
check_equal "the choice is stored at once" "REG_DWORD 0x6245434e REG_SZ 9600|COM1" \
    "$(registry CmdSt_IDX) $(registry CmdSt_CFG)"
take_commands
check_equal "the ASCII driver closed, then AA alone found the station" "58 0D 0A AA" "$commands"
quit_program
# The tests after this one expect the program on the ASCII driver.
"$wine" reg delete 'HKCU\Software\Quenby\DCC' /f </dev/null >/dev/null 2>&1

[ "$failures" -eq 0 ]
