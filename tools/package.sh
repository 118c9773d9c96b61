#!/bin/bash
# Builds velquist.exe and velquist-cli.exe (the windows preset) and packs them with a README for
# Windows users and the licence into build/dist/velquist-<version>-windows-x64.zip with CPack.
# Prints the zip's path on standard output; everything else goes to standard error.
# Usage: tools/package.sh [-jN]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=${1:--j2}
{
    cmake --preset windows
    cmake --build --preset windows --target velquist velquist-cli "$jobs"
    cpack --config build/windows/CPackConfig.cmake -B build/dist
} >&2
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' build/windows/CPackConfig.cmake)
zip=$root/build/dist/velquist-$version-windows-x64.zip
[ -f "$zip" ] || { echo "package.sh: CPack wrote no $zip" >&2; exit 1; }
echo "$zip"
