# shellcheck shell=bash
# Sourced by every script that runs Wine: the one place that names its programs. Debian's wine64
# package keeps them in /usr/lib/wine, outside the PATH; elsewhere they are found on the PATH.
if [ -x /usr/lib/wine/wine64 ]; then
    VELQUIST_WINE=/usr/lib/wine/wine64
    VELQUIST_WINESERVER=/usr/lib/wine/wineserver
else
    VELQUIST_WINE=$(command -v wine64 || command -v wine || echo wine64)
    VELQUIST_WINESERVER=$(command -v wineserver || echo wineserver)
fi
export VELQUIST_WINE VELQUIST_WINESERVER
