#!/usr/bin/env bash
# Builds the Windows edition with mingw-w64 into build-windows/ARCH, for i686 and x86_64, or
# for the architectures given. Usage: scripts/build-windows.sh [i686] [x86_64]
set -euo pipefail
cd "$(dirname "$0")/.."

architectures=("$@")
[ ${#architectures[@]} -gt 0 ] || architectures=(i686 x86_64)

scripts/install-deps.sh
for arch in "${architectures[@]}"; do
    cmake -S . -B "build-windows/$arch" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
        -DCMAKE_TOOLCHAIN_FILE="cmake/toolchains/mingw-$arch.cmake"
    cmake --build "build-windows/$arch"
done
