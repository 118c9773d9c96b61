#!/bin/bash
# velquist-cli.exe under Wine against the simulated station, reached as COM12 (a port name above
# COM9, which only the device namespace reaches): every command with the exit codes and messages
# of the Linux tool; then a name with accents typed on the command line is stored in
# Windows-1252, shown by the program's Load/Save page and saved by the program, and the tool
# shows the program's file as it was typed; a file name no ANSI code page holds keeps it;
# velquist.exe FILE opens such a file loaded on Load/Save, and shows Load's message for one it
# cannot load.
# Usage: cli_end_to_end_test.sh VELQUIST_CLI_EXE VELQUIST_EXE VELQUIST_UI_EXE
#        (WINEPREFIX, DISPLAY and VELQUIST_STATION_LOG set; COM12 mapped to the station)
set -uo pipefail
cli_exe=$1 exe=$2 ui_exe=$3
# The command line has no idle exit: an "X" then "M" is a close and the next open.
keep_idle_exits=1
source "$(dirname "$0")/script_checks.sh"
use_work_folder
# Wine hands a UTF-8 command line to the program as such only in a UTF-8 locale.
export LC_ALL=C.UTF-8
cli() { "$tools/wine-run.sh" "$cli_exe" "$@" </dev/null 2>&1 | tr -d '\r'; }
status() { "$tools/wine-run.sh" "$cli_exe" "$@" </dev/null >/dev/null 2>&1; echo $?; }
ui() { "$tools/wine-run.sh" "$ui_exe" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
windows_path() { echo "Z:${1//\//\\}"; }

take_wire
check_equal "write sets the CVs through COM12" "0" "$(status --port COM12 write 29=34 1=3)"
take_wire
check_equal "the station received the writes, each CV read first" "M R029 P029 034 R001 P001 003 X" \
    "$wire"
check_equal "read prints CV=VALUE through \\\\.\\COM12" "$(printf '29=34\n1=3\n8=11')" \
    "$(cli --port '\\.\COM12' read 29 1 8)"
check_equal "version prints the station's text" "NCE Powerhouse Pro simulator 1.0" \
    "$(cli --port COM12 version)"
check_equal "a port that does not exist fails with the link's message" \
    "error: Error opening port" "$(cli --port COM200 read 1)"
check_equal "and exits with 1" "1" "$(status --port COM200 read 1)"
check_equal "an option after the command is named as such" \
    "velquist-cli: options go before the command: '--port'" \
    "$(cli read 1 --port COM12 | cut -d';' -f1)"
check_equal "and exits with 2" "2" "$(status read 1 --port COM12)"
check_equal "--help is the help only as the first word" "usage: velquist-cli [--port DEVICE]" \
    "$(cli --help | head -1 | cut -d' ' -f1-4)"
check "the help names COM1 as the default port" grep -q "default COM1" <<<"$(cli --help)"

name='Güterzug Nº 5 – Köln'
take_wire
check_equal "backup reads the CVs into a file" "wrote $(windows_path "$work/loco.vqd"): 3 CVs" \
    "$(cli --port COM12 backup "$(windows_path "$work/loco.vqd")" --name "$name" \
        --notes --help 1,8,29)"
take_wire
check_equal "the station received the reads" "M R001 R008 R029 X" "$wire"
check "the file holds the name in Windows-1252" \
    grep -q "$(printf '%s' "$name" | iconv -f UTF-8 -t CP1252)" "$work/loco.vqd"
check_equal "show prints the file in UTF-8" \
    "$(printf 'Decoder Name: %s\nOwner: \nNotes: --help\n1=3\n8=11\n29=34' "$name")" \
    "$(cli show "$(windows_path "$work/loco.vqd")")"
check_equal "a name Windows-1252 cannot hold is refused" \
    "velquist-cli: --name: 'Ω' is not in Windows-1252, the code page of decoder files" \
    "$(cli backup x.vqd --name 'Ω-Lok' | cut -d';' -f1)"
check_equal "a FILE that cannot be written is found before the decoder is read" \
    "error: Z:\\no\\such\\folder\\x.vqd: Cannot write file" \
    "$(cli --port COM12 backup 'Z:\no\such\folder\x.vqd')"
take_wire
check_equal "so the station heard nothing of it" "" "$wire"

wide_name='Ānna.vqd'
check_equal "convert writes a file by its wide name" \
    "wrote $(windows_path "$work/$wide_name"): 3 CVs" \
    "$(cli convert "$(windows_path "$work/loco.vqd")" "$(windows_path "$work/$wide_name")")"
check "the file bears the name as typed, not a best-fit one" \
    test -f "$work/$wide_name" -a ! -e "$work/Anna.vqd"
check_equal "show opens it by that name" "Decoder Name: $name" \
    "$(cli show "$(windows_path "$work/$wide_name")" | head -1)"

cli --port COM12 write 1=9 >/dev/null
check_equal "restore writes the file back and reads it to verify" \
    "$(printf '1=3 (was 9)\n29=34 (was 34)\nwrote 2 CVs')" \
    "$(cli --port COM12 restore "$(windows_path "$work/loco.vqd")" --verify)"
take_wire
check_equal "the station received restore's reads, writes and reads back" \
    "M R001 P001 009 X M R001 P001 003 R001 R029 P029 034 R029 X" "$wire"

# The program shows the name as typed and writes it back the same way.
"$tools/wine-run.sh" reg delete 'HKCU\Software\Quenby\DCC' /f </dev/null >/dev/null 2>&1
"$tools/wine-run.sh" "$exe" </dev/null >/dev/null 2>&1 &
pid=$!
check_equal "the program shows the name on its Load/Save page" \
    "$(printf '%s' "$name" | iconv -f UTF-8 -t CP1252)" \
    "$(ui main tab 6 click 1247 open "$(windows_path "$work/loco.vqd")" idle get 1250)"
ui set 1251 Ann click 1248 save "$(windows_path "$work/saved.vqd")" idle >/dev/null
check_equal "the tool shows the program's file in UTF-8" \
    "$(printf 'Decoder Name: %s\nOwner: Ann' "$name")" \
    "$(cli show "$(windows_path "$work/saved.vqd")" | head -2)"
ui quit >/dev/null
wait "$pid"
check "the program exits with 0" test $? -eq 0
pid=

# velquist.exe FILE, as Explorer opens a file: a name with a blank and a letter the ANSI code page
# lacks comes up loaded on Load/Save; what cannot be loaded gets Load's message on that page.
cp "$work/saved.vqd" "$work/Lok Ω 5.vqd"
start_program "$(windows_path "$work/Lok Ω 5.vqd")"
check_equal "velquist.exe FILE opens on Load/Save with the file loaded" \
    "$(printf '%s\nAnn' "$(printf '%s' "$name" | iconv -f UTF-8 -t CP1252)")" \
    "$(ui nobox get 1250 get 1251)"
quit_program
mkdir "$work/folder.vqd"
: >"$work/empty.vqd"
head -c 2097152 /dev/zero >"$work/big.vqd"
while IFS='|' read -r file message; do
    start_program "$(windows_path "$work/$file")"
    check_equal "velquist.exe $file shows Load's message" "$(printf 'Error|%s\n\n' "$message")" \
        "$(ui box answer 1 get 1250 get 1251)"
    quit_program "$file"
done <<'CASES'
none.vqd|Cannot open file
folder.vqd|Cannot open file
empty.vqd|The file is empty
big.vqd|The file is larger than 1 MB
CASES
start_program "$(windows_path "$work/Lok")" "Ω 5.vqd"
check_equal "velquist.exe with two names opens neither" \
    "Error|Velquist opens one file at a time" "$(ui box answer 1 | cut -d. -f1)"
quit_program "two names"

[ "$failures" -eq 0 ]
