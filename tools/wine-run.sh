#!/bin/bash
# Runs a Windows program of the build under Wine, in the prefix named by WINEPREFIX.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
: "${WINEPREFIX:?WINEPREFIX must name a Wine prefix (the test script prepares one)}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
exec "$VELQUIST_WINE" "$@"
