#!/usr/bin/env bash
# Runs a Windows program under wine (64-bit), as ctest's emulator for the Windows build.
# Uses the prefix in WINEPREFIX, else build-windows/wine-prefix; scripts/test-windows.sh boots
# it once and keeps its wine server running, so each program starts in well under a second.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-$root/build-windows/wine-prefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
exec /usr/lib/wine/wine64 "$@"
