#!/bin/bash
# Prepares a Wine prefix for the program: created once, COM1 (and COM2 when given) mapped to a
# fixed path (where the simulated station or a real device is linked), and any further port
# given as COMn=PATH (COM12, say: names above COM9 take another path through Windows), crash
# dialogs off, and a wineserver running. A prefix whose making was interrupted (no ready mark)
# is made again.
# Usage: wine-prefix.sh PREFIX COM1_PATH [COM2_PATH] [COMn=PATH ...]
set -euo pipefail
prefix=$1
com1=$2
com2=${3:-}
shift $(($# < 3 ? $# : 3))
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
remapped=
map_port() { # map_port NAME PATH: true when the mapping had to change
    local current
    current=$(timeout 300 "$wine" reg query 'HKLM\Software\Wine\Ports' /v "$1" </dev/null 2>/dev/null |
              tr -d '\r' | awk -v name="$1" '$1 == name { print $3 }' || true)
    [ "$current" = "$2" ] && return 1
    quiet "$wine" reg add 'HKLM\Software\Wine\Ports' /v "$1" /t REG_SZ /d "$2" /f
}
map_port COM1 "$com1" && remapped=1
[ -n "$com2" ] && map_port COM2 "$com2" && remapped=1
for mapping in "$@"; do
    map_port "${mapping%%=*}" "${mapping#*=}" && remapped=1
done
if [ -n "$remapped" ]; then
    # The device manager maps COM ports from the registry when the server starts.
    quiet "$server" -k || true
    quiet "$server" -w || true
fi
quiet "$server" -p || true # already running is fine
# Wait for the prefix to be fully up, so the first test does not pay for it.
quiet "$wine" cmd /c exit 0
