#!/bin/sh
# binfmt_misc's interpreter for 32-bit x86 programs (registered with flags PF by
# scripts/test-windows-i686.sh): runs them under qemu's user-mode emulator, but only those of
# the wine prefix named in QUORVEL_I386_PREFIX. Every other 32-bit program is refused, as the
# kernel would refuse it: a 64-bit prefix's first boot then skips its 32-bit helpers rather
# than starting them under emulation.
# With P, binfmt_misc passes the program's path, then its own argv[0], then its arguments.
program=$1
argv0=$2
shift 2
if [ -z "${QUORVEL_I386_PREFIX:-}" ] || [ "${WINEPREFIX:-}" != "$QUORVEL_I386_PREFIX" ]; then
    echo "$program: a 32-bit program, which runs here only in the i686 test prefix of scripts/test-windows.sh" >&2
    exit 126
fi
exec qemu-i386 -0 "$argv0" "$program" "$@"
