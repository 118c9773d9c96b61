#!/bin/bash
# The release zip as a Windows user gets it: tools/package.sh writes it and prints its path; it
# unpacks into one folder holding both programs, the README and the licence; both programs carry
# their version and manifest, and both run from that folder: velquist-cli.exe asks the simulated
# station (COM12) for its version, velquist.exe starts and quits.
# Usage: release_zip_test.sh PACKAGE_SH VELQUIST_UI_EXE
#        (WINEPREFIX, DISPLAY and VELQUIST_STATION_LOG set; COM12 mapped to the station)
set -uo pipefail
package=$1 ui_exe=$2
source "$(dirname "$0")/script_checks.sh"
use_work_folder

zip=$("$package" 2>"$work/package.log" | head -1)
check "package.sh succeeds" test "${PIPESTATUS[0]}" -eq 0 || cat "$work/package.log"
check_equal "package.sh prints the zip's path" "velquist-1.0-windows-x64.zip" "$(basename "$zip")"
(cd "$work" && cmake -E tar xf "$zip")
folder=$work/velquist-1.0-windows-x64
check_equal "the zip holds one folder with the two programs, the README and the licence" \
    "LICENSE.txt README.txt velquist-cli.exe velquist.exe" \
    "$(cd "$work" && find . -type f | grep -v package.log | sed 's|^\./velquist-1.0-windows-x64/||' | sort | tr '\n' ' ' | sed 's/ $//')"
check "README.txt has Windows line ends" grep -q $'\r$' "$folder/README.txt"
check "README.txt tells how to choose the port" grep -q "Choosing the port" "$folder/README.txt"
check "LICENSE.txt is the MIT licence of the Velquist authors" \
    grep -q "Copyright (c) 2026 The Velquist authors" "$folder/LICENSE.txt"
for program in velquist.exe velquist-cli.exe; do
    check_equal "$program's FileVersion is 1.0.0.0" "1.0.0.0" \
        "$(strings -el "$folder/$program" | grep -A1 -x FileVersion | tail -1)"
    check "$program's manifest runs it as invoker" \
        grep -q 'requestedExecutionLevel level="asInvoker"' <(strings "$folder/$program")
    check "$program's manifest names the supported Windows versions" \
        grep -q 'supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"' <(strings "$folder/$program")
done

check_equal "velquist-cli.exe from the folder asks the station on COM12" \
    "NCE Powerhouse Pro simulator 1.0" \
    "$("$tools/wine-run.sh" "$folder/velquist-cli.exe" --port COM12 version </dev/null 2>&1 | tr -d '\r')"

"$tools/wine-run.sh" reg delete 'HKCU\Software\Quenby\DCC' /f </dev/null >/dev/null 2>&1
"$tools/wine-run.sh" "$folder/velquist.exe" </dev/null >/dev/null 2>&1 &
pid=$!
check "velquist.exe from the folder shows its main window" \
    "$tools/wine-run.sh" "$ui_exe" main </dev/null
"$tools/wine-run.sh" "$ui_exe" quit </dev/null >/dev/null 2>&1
wait "$pid"
check "velquist.exe from the folder exits with 0" test $? -eq 0
pid=

[ "$failures" -eq 0 ]
