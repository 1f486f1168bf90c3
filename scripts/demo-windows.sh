#!/usr/bin/env bash
# Builds the x86_64 Windows edition and starts it under wine on the stand-in lanacfg's sample
# bindings, as scripts/demo.sh does for the Qt edition.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/build-windows.sh x86_64
. scripts/wine-env.sh
start_wine

# Its own binding table and report file in the build folder; delete bindings.txt to start over.
build="$PWD/build-windows/x86_64"
mkdir -p build-windows/demo
cd build-windows/demo
export WINEPATH="$(windows_path "$build/tools/lanacfg")"
export LANACFG_STATE="$(windows_path "$PWD/bindings.txt")"
/usr/lib/wine/wine64 "$build/app/win32/quorvel.exe" "$@"
