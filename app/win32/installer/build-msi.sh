#!/usr/bin/env bash
# Builds the Windows Installer package of one architecture with wixl (Debian's wixl package),
# then gives the programs' File rows the file version of their version resource, which wixl
# leaves empty: without it Windows Installer takes them for unversioned files, hashed and never
# compared by version with a copy already on disk.
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
# The resource's FILEVERSION is the project's version with a fourth part of 0, its language
# US English; a versioned file has no hash. (One DELETE per row: msibuild's DELETE with OR
# keeps one of the two.)
for program in quorvel.exe quorvel.com; do
    msibuild "$output" \
        -q "UPDATE File SET Version = '$version.0', Language = '1033' WHERE File = '$program'" \
        -q "DELETE FROM MsiFileHash WHERE File_ = '$program'"
done
