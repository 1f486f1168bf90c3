#!/usr/bin/env bash
# Builds the Windows edition and packs each architecture into dist/:
# quorvel-VERSION-windows-x86.zip and quorvel-VERSION-windows-x64.zip, each holding quorvel.exe,
# quorvel.com, README.txt, and the stand-in lanacfg.exe with demo.cmd in demo\; and
# quorvel-VERSION-windows-x86.msi and -x64.msi, which install the first three (never the
# stand-in) into Program Files\Quorvel.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/build-windows.sh
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-windows/x86_64/CMakeCache.txt)
mkdir -p dist
for arch in i686 x86_64; do
    case $arch in i686) name=x86 ;; x86_64) name=x64 ;; esac
    build="build-windows/$arch"
    stage="build-windows/package-$name/quorvel-$version"
    rm -rf "build-windows/package-$name"
    mkdir -p "$stage/demo"
    cp "$build/app/win32/quorvel.exe" "$build/app/win32/quorvel.com" "$stage/"
    # Windows readers expect CRLF line ends in text files.
    sed "s/@VERSION@/$version/g; s/\$/\r/" app/win32/release/README.txt > "$stage/README.txt"
    sed 's/$/\r/' app/win32/release/demo.cmd > "$stage/demo/demo.cmd"
    cp "$build/tools/lanacfg/lanacfg.exe" "$stage/demo/"
    zip="$PWD/dist/quorvel-$version-windows-$name.zip"
    rm -f "$zip"
    (cd "build-windows/package-$name" && cmake -E tar cf "$zip" --format=zip "quorvel-$version")
    echo "$zip"
    msi="dist/quorvel-$version-windows-$name.msi"
    app/win32/installer/build-msi.sh "$name" "$version" "$stage" "$msi"
    echo "$PWD/$msi"
done
