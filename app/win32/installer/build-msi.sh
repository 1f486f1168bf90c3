#!/usr/bin/env bash
# Builds the Windows Installer package of one architecture with wixl (Debian's wixl package).
# Usage: app/win32/installer/build-msi.sh x86|x64 VERSION STAGE OUTPUT.msi
# STAGE is the folder holding quorvel.exe, quorvel.com and README.txt as they are installed.
set -euo pipefail

[ $# -eq 4 ] || { echo "usage: $0 x86|x64 VERSION STAGE OUTPUT.msi" >&2; exit 2; }
arch=$1 version=$2 stage=$3 output=$4
case $arch in x86 | x64) ;; *) echo "$0: no architecture $arch (x86 or x64)" >&2; exit 2 ;; esac
[[ $version =~ ^([0-9]+)\.([0-9]+)\.([0-9]+)$ ]] \
    || { echo "$0: version $version is not MAJOR.MINOR.PATCH" >&2; exit 2; }
next_version="${BASH_REMATCH[1]}.${BASH_REMATCH[2]}.$((BASH_REMATCH[3] + 1))"

root=$(cd "$(dirname "$0")/../../.." && pwd)
output=$(realpath -m "$output")
# wixl takes source files by relative paths only.
stage=$(realpath --relative-to="$root" "$stage")
cd "$root"
wixl --arch "$arch" -D Arch="$arch" -D Version="$version" -D NextVersion="$next_version" \
    -D Stage="$stage" -D Icon=app/icons/quorvel.ico \
    -o "$output" app/win32/installer/quorvel.wxs
