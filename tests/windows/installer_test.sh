#!/bin/bash
# The installer tools/package.sh builds, in a fresh Wine prefix: silent install, with its files,
# shortcut and keys; velquist.exe from the Start menu entry; a .vqd opened through its file type;
# a second install over the first and one after the folder was deleted; a silent uninstall that
# leaves only the settings and a decoder file saved in the folder; /D=.
# Usage: installer_test.sh PACKAGE_SH VELQUIST_UI_EXE VELQUIST_CLI STATION_LINK  (DISPLAY set)
set -uo pipefail
package=$1 ui_exe=$2 cli=$3 link=$4
source "$(dirname "$0")/script_checks.sh"
use_work_folder
export WINEPREFIX=$work/prefix
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null
      timeout 30 "$VELQUIST_WINESERVER" -k </dev/null >/dev/null 2>&1; rm -rf "$work"' EXIT
win() { "$tools/wine-run.sh" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
ui() { win "$ui_exe" "$@"; }
value() { # value KEY [NAME]: the data of a registry value, the key's default without NAME
    if [ $# -gt 1 ]; then win reg query "$1" /v "$2"; else win reg query "$1" /ve; fi |
        sed -n "s/^ *${2:-(Default)} *REG_[A-Z_]* *//p"
}
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velquist'
classes='HKCU\Software\Classes'

setup=$("$package" 2>"$work/package.log" | tail -1)
check_equal "package.sh prints the installer's path" "velquist-1.0-windows-x64-setup.exe" \
    "$(basename "$setup")" || cat "$work/package.log"
"$tools/wine-prefix.sh" "$WINEPREFIX" "$link" >/dev/null 2>&1

check "the silent install succeeds" "$tools/wine-run.sh" "$setup" /S /PATH </dev/null
folder_win="$(win cmd /c echo %LOCALAPPDATA%)\\Programs\\Velquist"
folder=$(win winepath -u "$folder_win")
start_menu="$(win cmd /c echo %APPDATA%)\\Microsoft\\Windows\\Start Menu\\Programs"
shortcut=$(win winepath -u "$start_menu\\Velquist.lnk")
installed() { (cd "$folder" 2>/dev/null && LC_ALL=C ls | tr '\n' ' '); }
check_equal "it puts both programs, the README, the licence and the uninstaller in the folder" \
    "LICENSE.txt README.txt uninstall.exe velquist-cli.exe velquist.exe " "$(installed)"
check_equal "the Start menu entry starts velquist.exe in the folder" "$folder_win\\velquist.exe" \
    "$(strings "$shortcut" 2>/dev/null | grep -ix 'c:\\.*\.exe')"
ours=$(printf '%s\n' "$(value "$classes\\.vqd")" "$(value "$classes\\Velquist.DecoderFile")" \
    "$(value "$classes\\Velquist.DecoderFile\\shell\\open\\command")" \
    "$(value "$uninstall_key" DisplayName)" "$(value "$uninstall_key" DisplayVersion)" \
    "$(value "$uninstall_key" Publisher)" "$(value "$uninstall_key" UninstallString)" \
    "$(value 'HKCU\Environment' Path)")
check_equal "the file type, the Apps entry and the PATH entry are in place" "$(printf '%s\n' \
    Velquist.DecoderFile "Velquist decoder file" "\"$folder_win\\velquist.exe\" \"%1\"" Velquist \
    1.0 "The Velquist authors" "\"$folder_win\\uninstall.exe\"" "$folder_win")" "$ours"

win start "$(win winepath -w "$shortcut")"
check "velquist.exe starts from the Start menu entry" ui main
ui quit >/dev/null

# Wine 8 looks file types up only in the machine's classes: the user's type is copied there.
win reg add 'HKLM\Software\Classes\.vqd' /ve /d Velquist.DecoderFile /f >/dev/null
win reg add 'HKLM\Software\Classes\Velquist.DecoderFile\shell\open\command' /ve \
    /d "$(value "$classes\\Velquist.DecoderFile\\shell\\open\\command")" /f >/dev/null
printf '<locomotive-config><locomotive id="GP9 1234" owner="Ann"><values>%s</values>%s' \
    '<CVvalue name="1" value="5"/>' '</locomotive></locomotive-config>' >"$work/gp9.xml"
"$cli" convert "$work/gp9.xml" "$work/GP9 Lok.vqd" >/dev/null
win start "$(win winepath -w "$work/GP9 Lok.vqd")"
check_equal "a decoder file opened through its type comes up loaded on Load/Save" \
    "$(printf 'GP9 1234\nAnn')" "$(ui main get 1250 get 1251)"
ui quit >/dev/null

check "installing again succeeds" "$tools/wine-run.sh" "$setup" /S </dev/null
check_equal "and replaces the first in place, with the folder on the PATH once" \
    "LICENSE.txt README.txt uninstall.exe velquist-cli.exe velquist.exe |$folder_win" \
    "$(installed)|$(value 'HKCU\Environment' Path)"

rm -rf "$folder"
check_equal "a folder deleted by hand comes back with the next install, for the uninstaller" \
    "LICENSE.txt README.txt uninstall.exe velquist-cli.exe velquist.exe " \
    "$("$tools/wine-run.sh" "$setup" /S </dev/null; installed)"
cp "$work/GP9 Lok.vqd" "$folder/mine.vqd"
check "the silent uninstall starts" "$tools/wine-run.sh" "$folder/uninstall.exe" /S </dev/null
# The uninstaller runs on as a copy of itself; removing itself is its last step.
for _ in $(seq 60); do [ -e "$folder/uninstall.exe" ] || break; sleep 0.5; done
check_equal "it leaves no program file and keeps a decoder file saved in the folder" "mine.vqd " \
    "$(installed)"
check "it removes the Start menu entry" test ! -e "$shortcut"
check_equal "it removes the file type, the Apps entry and the PATH entry" "" \
    "$(for key in "$classes\\.vqd" "$classes\\Velquist.DecoderFile" "$uninstall_key"; do
        win reg query "$key" >/dev/null && echo "$key"
    done)$(value 'HKCU\Environment' Path)"
check "it keeps the settings" test -n "$(win reg query 'HKCU\Software\Quenby\DCC' /v MainLocation)"

# Typed as on Windows, unquoted: /D= takes the rest of the command line.
check "a silent install with /D= goes into that folder" \
    "$tools/wine-run.sh" "$setup" /S '/D=C:\Velquist' Test </dev/null
check "and the folder holds the program" test -f "$WINEPREFIX/drive_c/Velquist Test/velquist.exe"
check_equal "and the Apps entry names it" 'C:\Velquist Test' \
    "$(value "$uninstall_key" InstallLocation)"

[ "$failures" -eq 0 ]
