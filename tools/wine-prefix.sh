#!/bin/bash
# Prepares a Wine prefix for the program: created once, COM1 mapped to a fixed path (where the
# simulated station or a real device is linked), crash dialogs off, and a wineserver running.
# A prefix whose making was interrupted (no ready mark) is made again from nothing.
# Usage: wine-prefix.sh PREFIX COM1_PATH
set -euo pipefail
prefix=$1
com1=$2
source "$(dirname "$0")/wine-env.sh"
wine=$VELQUIST_WINE
server=$VELQUIST_WINESERVER
ready=$prefix/.velquist-ready
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# A wineserver started from inside a pipeline would hold the caller's output open: give every
# Wine process of this script its own standard streams. No step may wait for ever.
quiet() { timeout 300 "$@" </dev/null >/dev/null 2>&1; }

mkdir -p "$(dirname "$prefix")"
if [ ! -f "$ready" ]; then
    if [ -e "$prefix" ]; then
        # Only ever a prefix (or the empty start of one), never whatever else the path names.
        if [ -n "$(ls -A "$prefix")" ] && [ ! -d "$prefix/dosdevices" ] && [ ! -f "$prefix/system.reg" ]; then
            echo "wine-prefix.sh: $prefix is no Wine prefix; not touching it" >&2
            exit 1
        fi
        echo "wine-prefix.sh: $prefix was never finished (an interrupted start); making it again" >&2
        quiet "$server" -k || true
        rm -rf "$prefix"
    fi
    quiet "$wine" wineboot -i
    quiet "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
    quiet "$server" -w
    touch "$ready"
fi
# Caption buttons are drawn with Marlett, which this Wine finds only among the prefix's fonts.
if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
    cp -n /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/"
fi
current=$(timeout 300 "$wine" reg query 'HKLM\Software\Wine\Ports' /v COM1 </dev/null 2>/dev/null | tr -d '\r' |
          awk '$1 == "COM1" { print $3 }' || true)
if [ "$current" != "$com1" ]; then
    quiet "$wine" reg add 'HKLM\Software\Wine\Ports' /v COM1 /t REG_SZ /d "$com1" /f
    # The device manager maps COM ports from the registry when the server starts.
    quiet "$server" -k || true
    quiet "$server" -w || true
fi
quiet "$server" -p || true # already running is fine
# Wait for the prefix to be fully up, so the first test does not pay for it.
quiet "$wine" cmd /c exit 0
