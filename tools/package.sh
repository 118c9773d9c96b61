#!/bin/bash
# Builds velquist.exe and velquist-cli.exe (the windows preset) and packs them with a README for
# Windows users and the licence into build/dist/velquist-<version>-windows-x64.zip with CPack,
# and the same files into the installer build/dist/velquist-<version>-windows-x64-setup.exe
# with NSIS (tools/installer/velquist.nsi). Prints both paths on standard output, the zip's
# first; everything else goes to standard error.
# Usage: tools/package.sh [-jN]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=${1:--j2}
tools/install-deps.sh nsis >&2
{
    cmake --preset windows
    cmake --build --preset windows --target velquist velquist-cli "$jobs"
    cpack --config build/windows/CPackConfig.cmake -B build/dist
} >&2
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' build/windows/CPackConfig.cmake)
name=velquist-$version-windows-x64
zip=$root/build/dist/$name.zip
[ -f "$zip" ] || { echo "package.sh: CPack wrote no $zip" >&2; exit 1; }

# The installer takes the files from the zip, so both hold the same.
files=$root/build/dist/setup-files
rm -rf "$files"
mkdir -p "$files"
(cd "$files" && cmake -E tar xf "$zip")
setup=$root/build/dist/$name-setup.exe
rm -f "$setup"
makensis -V2 -DVERSION="$version" -DFILES="$files/$name" \
    -DICON="$root/src/resources/velquist.ico" -DOUTFILE="$setup" \
    tools/installer/velquist.nsi >&2
[ -f "$setup" ] || { echo "package.sh: makensis wrote no $setup" >&2; exit 1; }
echo "$zip"
echo "$setup"
