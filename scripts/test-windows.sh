#!/usr/bin/env bash
# Builds the Windows edition for both architectures and tests it under wine on a virtual
# display: the x86_64 programs, then the i686 ones (scripts/test-windows-i686.sh), then each
# program's size (scripts/check-sizes.sh), the MSI packages (scripts/test-msi.sh) and a signed
# release (scripts/test-signing.sh). All run to the end; a failure in any fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."

# Built once; the tests then go on under a virtual display when there is none.
[ "${1:-}" = --built ] || scripts/build-windows.sh
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" --built
fi
. scripts/wine-env.sh
start_wine
x86_64=passed
ctest --test-dir build-windows/x86_64 --output-on-failure || x86_64=FAILED
i686=0
scripts/test-windows-i686.sh || i686=$?
case $i686 in
    0) i686=passed ;;
    77) i686="skipped (import check only)" ;;
    *) i686=FAILED ;;
esac
# Each program of both builds within its size limit: the zips and the MSIs hold these files.
sizes=passed
scripts/check-sizes.sh build-windows/{x86_64,i686}/app/win32/quorvel.{exe,com} \
    build-windows/{x86_64,i686}/tools/lanacfg/lanacfg.exe || sizes=FAILED
# The Windows Installer packages: built, then installed, run and removed under wine.
msi=passed
scripts/test-msi.sh || msi=FAILED
# A release of both architectures signed with a throwaway certificate, and its signatures.
signing=passed
scripts/test-signing.sh || signing=FAILED
echo "Windows tests: x86_64 $x86_64, i686 $i686, sizes $sizes, MSI $msi, signing $signing"
[ $x86_64 != FAILED ] && [ "$i686" != FAILED ] && [ $sizes != FAILED ] && [ $msi != FAILED ] \
    && [ $signing != FAILED ]
