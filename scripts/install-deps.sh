#!/usr/bin/env bash
# Installs the Debian packages that building, testing and the demo need; skips what is there.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libcli11-dev
    libgtest-dev libgmock-dev
    xvfb xauth
    libbenchmark-dev
    clang libclang-rt-14-dev llvm clang-tidy
    # The Windows edition: the -win32 thread model compilers, and wine to run its tests.
    g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32 wine64
    # Its Windows Installer packages (wixl, of msitools; msiinfo reads them back in the tests).
    wixl msitools
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
        || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get -o DPkg::Lock::Timeout=900 update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=900 install -y -qq \
    --no-install-recommends "${missing[@]}"
