#!/bin/bash
# Decoder files end to end with the real velquist.exe and the simulated station on COM1:
# velquist-cli backs the decoder up; the program loads that file through its open dialog, saves
# it again through its save dialog, clears all after its question; the CLI shows the program's
# files with the values it read. Then what the locomotive page reads is saved, cleared, loaded
# back onto the page and shown by the CLI.
# Usage: decoder_file_end_to_end_test.sh VELQUIST_EXE VELQUIST_UI_EXE VELQUIST_CLI STATION_LINK
#        (WINEPREFIX and DISPLAY set)
set -uo pipefail
exe=$1 ui_exe=$2 cli=$3 link=$4
tools=$(cd "$(dirname "$0")/../../tools" && pwd)
work=$(mktemp -d)
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
failures=0
check() { # check DESCRIPTION COMMAND...
    if "${@:2}"; then echo "ok: $1"; else echo "FAILED: $1"; failures=$((failures + 1)); fi
}
same() { # same DESCRIPTION ACTUAL EXPECTED
    [ "$2" = "$3" ] && { echo "ok: $1"; return; }
    printf 'FAILED: %s\n--- got:\n%s\n--- expected:\n%s\n' "$1" "$2" "$3"
    failures=$((failures + 1))
}
ui() { "$tools/wine-run.sh" "$ui_exe" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
windows_path() { echo "Z:${1//\//\\}"; }

"$cli" --port "$link" write 29=34 1=3 67=10 >/dev/null
check "velquist-cli backs the decoder up" \
    "$cli" --port "$link" backup "$work/backup" --name "GP9 #1234" --owner Ann 1,7,29,67
backup=$("$cli" show "$work/backup")
same "the backup holds the values read" "$backup" \
    "$(printf 'Decoder Name: GP9 #1234\nOwner: Ann\nNotes: \n1=3\n7=42\n29=34\n67=10')"

# Another test may have left the program on another port: start from the defaults (COM1).
"$tools/wine-run.sh" reg delete 'HKCU\Software\Quenby\DCC' /f </dev/null >/dev/null 2>&1
"$tools/wine-run.sh" "$exe" </dev/null >/dev/null 2>&1 &
pid=$!
same "the program loads the CLI's file through the open dialog" \
    "$(ui main tab 6 click 1247 open "$(windows_path "$work/backup")" idle get 1250 get 1251)" \
    "$(printf 'GP9 #1234\nAnn')"
ui click 1248 save "$(windows_path "$work/saved")" idle >/dev/null
same "the program's save shows the same values in the CLI" "$("$cli" show "$work/saved")" "$backup"

same "Clear All asks first, and No keeps everything" \
    "$(ui click 1253 box answer 7 get 1250)" \
    "$(printf 'Clear All|Clear all fields from all screens. Are you sure?\nGP9 #1234')"
same "Clear All answered Yes empties the page" "$(ui click 1253 answer 6 get 1250 get 1251)" \
    "$(printf '\n')"
ui click 1248 save "$(windows_path "$work/cleared")" idle >/dev/null
same "after Clear All a save holds no values" "$("$cli" show "$work/cleared")" \
    "$(printf 'Decoder Name: \nOwner: \nNotes: ')"

# What the locomotive page read from the decoder goes into a file, comes back after Clear All,
# and is what the CLI shows of that file.
ui tab 0 click 1052 idle tab 6 click 1248 save "$(windows_path "$work/read")" idle \
    click 1253 answer 6 idle >/dev/null
same "Clear All empties the locomotive page" "$(ui tab 0 get 1042 get 1075)" "$(printf '\n')"
same "after a load the locomotive page shows the file's values" \
    "$(ui tab 6 click 1247 open "$(windows_path "$work/read")" idle tab 0 get 1042 get 1075)" \
    "$(printf '3\n34')"
shown=$("$cli" show "$work/read")
same "the file holds the 18 CVs the page read" \
    "$(echo "$shown" | grep -E '^[0-9]+=' | cut -d= -f1 | sort -n | tr '\n' ' ')" \
    "1 2 3 4 5 6 7 8 10 11 17 18 29 65 66 95 105 106 "
same "the CLI shows the values the page read" "$(echo "$shown" | grep -E '^(1|7|29)=')" \
    "$(printf '1=3\n7=42\n29=34')"
ui quit >/dev/null
wait "$pid"
check "the program exits with 0" test $? -eq 0
pid=

[ "$failures" -eq 0 ]
