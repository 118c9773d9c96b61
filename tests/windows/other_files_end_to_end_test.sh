#!/bin/bash
# Files from other programs end to end with the real velquist.exe and the simulated station on
# COM1: the program loads a JMRI roster entry through its open dialog (and says which entries it
# passed over), the locomotive page shows its values and writes them to the decoder; a save under
# a name ending in .csv writes a CV list that velquist-cli shows; a JMRI CV list loads; a bad one
# is refused with its line and leaves nothing loaded; velquist-cli turns the program's file into
# a decoder sheet.
# Usage: other_files_end_to_end_test.sh VELQUIST_EXE VELQUIST_UI_EXE VELQUIST_CLI STATION_LINK
#        (WINEPREFIX and DISPLAY set)
set -uo pipefail
exe=$1 ui_exe=$2 cli=$3 link=$4
source "$(dirname "$0")/script_checks.sh"
use_work_folder
same() { check_equal "$1" "$3" "$2"; } # same DESCRIPTION ACTUAL EXPECTED
ui() { "$tools/wine-run.sh" "$ui_exe" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
windows_path() { echo "Z:${1//\//\\}"; }

cat >"$work/gp9.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<?xml-stylesheet type="text/xsl" href="/xml/XSLT/locomotive.xsl"?>
<locomotive-config>
  <locomotive id="GP9 1234" owner="Jos&#233;" comment="Runs well&#10;new wheels" dccAddress="5">
    <decoder model="Series 6" family="Sound" />
    <values>
      <decoderDef>
        <varValue item="Short Address" value="5" />
      </decoderDef>
      <CVvalue name="1" value="5" />
      <CVvalue name="29" value="6" />
      <CVvalue name="16.3.257" value="0" />
    </values>
  </locomotive>
</locomotive-config>
XML
printf '"CV, value"\r\n1,7\r\n29,34,Configuration\r\n' >"$work/jmri.csv"
printf 'CV,value\r\n1,9\r\n29;2\r\n' >"$work/bad.csv"

"$tools/wine-run.sh" reg delete 'HKCU\Software\Quenby\DCC' /f </dev/null >/dev/null 2>&1
"$tools/wine-run.sh" "$exe" </dev/null >/dev/null 2>&1 &
pid=$!
same "the program loads a roster entry and says which entries it passed over" \
    "$(ui main tab 6 click 1247 open "$(windows_path "$work/gp9.xml")" box answer 1 \
        get 1250 get 1251 get 1252)" \
    "$(printf 'Load|1 CV entry was skipped: indexed CVs, named like 16.3.257, are not loaded from roster entries\nGP9 1234\nJos\xe9\nRuns well\nnew wheels')"
same "the locomotive page shows the roster entry's values" "$(ui tab 0 get 1042 get 1075)" \
    "$(printf '5\n6')"
ui click 1056 idle >/dev/null
same "Write All puts them on the decoder" \
    "$("$cli" --port "$link" read 1 29 2>&1)" "$(printf '1=5\n29=6')"

ui tab 6 click 1248 save "$(windows_path "$work/gp9.csv")" idle >/dev/null
same "a save under a .csv name writes a CV list" "$(tr -d '\r' <"$work/gp9.csv")" \
    "$(printf 'CV,value\n1,5\n29,6')"
same "velquist-cli shows the program's CV list" "$("$cli" show "$work/gp9.csv")" \
    "$(printf 'Decoder Name: \nOwner: \nNotes: \n1=5\n29=6')"

same "a CV list in JMRI's form loads" \
    "$(ui click 1247 open "$(windows_path "$work/jmri.csv")" idle nobox tab 0 get 1042 get 1075)" \
    "$(printf '7\n34')"
same "a bad CV list is refused with its line" \
    "$(ui tab 6 click 1247 open "$(windows_path "$work/bad.csv")" box answer 1)" \
    "Error|Line 3: expected CV,value but found '29;2'"
same "and leaves nothing loaded" "$(ui tab 0 get 1042 get 1075)" "$(printf '\n')"

ui tab 6 click 1247 open "$(windows_path "$work/gp9.xml")" box answer 1 \
    click 1248 save "$(windows_path "$work/gp9.vqd")" idle >/dev/null
check "velquist-cli makes a decoder sheet of the program's file" \
    "$cli" sheet "$work/gp9.vqd" -o "$work/gp9.html"
check "the sheet names the decoder and its owner" \
    grep -q '<h1 id="decoder-name">GP9 1234</h1>.*Owner: <span id="owner">José</span>' \
    "$work/gp9.html"
same "the sheet's table holds the two CVs" \
    "$(grep -o '<div class="cv" id="cv[0-9]*"><b>[0-9]*</b> <span class="value">[0-9]*' \
        "$work/gp9.html" | sed 's/.*<b>\([0-9]*\)<.*value">/\1=/')" "$(printf '1=5\n29=6')"
ui quit >/dev/null
wait "$pid"
check "the program exits with 0" test $? -eq 0
pid=

[ "$failures" -eq 0 ]
