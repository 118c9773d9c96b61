#!/bin/bash
# Runs a Windows program of the build under Wine, in the prefix named by WINEPREFIX.
set -euo pipefail
: "${WINEPREFIX:?WINEPREFIX must name a Wine prefix (the test script prepares one)}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
exec /usr/lib/wine/wine64 "$@"
