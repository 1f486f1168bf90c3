#!/usr/bin/env bash
# Runs a Windows program under wine, as ctest's emulator for the Windows build:
#   scripts/wine-run.sh [x86_64|i686] PROGRAM [ARGUMENT...]
# x86_64 (the default) runs it with wine64, i686 with the 32-bit loader, in the architecture's
# prefix (scripts/wine-env.sh), which scripts/test-windows.sh boots once and whose wine server
# it keeps running, so each program starts in well under a second.
set -euo pipefail
case "${1:-}" in
    x86_64 | i686) export QUORVEL_WINE_ARCH="$1"; shift ;;
esac
. "$(dirname "$0")/wine-env.sh"
exec "$wine" "$@"
