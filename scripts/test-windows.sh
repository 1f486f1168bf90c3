#!/usr/bin/env bash
# Builds the Windows edition for both architectures and tests it: the x86_64 programs run
# under wine on a virtual display; the i686 ones (which cannot run here) are import-checked.
set -euo pipefail
cd "$(dirname "$0")/.."

# Built once; the tests then go on under a virtual display when there is none.
[ "${1:-}" = --built ] || scripts/build-windows.sh
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" --built
fi
. scripts/wine-env.sh
start_wine
ctest --test-dir build-windows/x86_64 --output-on-failure
ctest --test-dir build-windows/i686 --output-on-failure -R '^imports_'
# The Windows Installer packages: built, then installed, run and removed under wine.
scripts/test-msi.sh
