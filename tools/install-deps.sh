#!/bin/bash
# Installs the Debian packages that building, testing or running the program needs, if any is
# missing. Usage: install-deps.sh PACKAGE...   (as root, or through sudo)
set -euo pipefail
missing=()
for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
        missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=()
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
        echo "These Debian packages are missing: ${missing[*]}" >&2
        echo "Installing them needs root, and sudo is not installed. As root, run:" >&2
        echo "    apt-get install ${missing[*]}" >&2
        echo "then run this command again." >&2
        exit 1
    fi
    sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# Another install holding the package lock is waited for, but not for ever.
apt=("${sudo[@]}" apt-get -o DPkg::Lock::Timeout=300)
"${apt[@]}" update -qq
"${apt[@]}" install -y -qq "${missing[@]}" >/dev/null
