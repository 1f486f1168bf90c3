#!/usr/bin/env bash
# Runs the i686 Windows edition's tests under the 32-bit wine, in a prefix of their own, once
# scripts/test-windows.sh has built them and given them a display. Every 32-bit process runs
# under qemu's user-mode emulator as a Pentium II (QEMU_CPU=pentium2, which makes each SSE and
# SSE2 instruction illegal), so that an instruction those processors lack fails a test.
#
# binfmt_misc hands the emulator every 32-bit x86 program:
#  - in a mount of the run's own, in a user namespace, where the kernel allows that (Linux 6.7
#    and later): nothing outside the run sees it;
#  - else, where the kernel cannot run 32-bit programs itself, machine-wide, through
#    scripts/qemu-i386-for-prefix.sh, which refuses every program outside this prefix;
#  - else the kernel runs them natively, on this machine's processor, and says so.
# When none can be had, the i686 programs are only import-checked, one line says why, and the
# script ends with status 77.
set -euo pipefail
cd "$(dirname "$0")/.."

binfmt=/proc/sys/fs/binfmt_misc
entry=quorvel-i386
interpreter="$PWD/scripts/qemu-i386-for-prefix.sh"
# A 32-bit little-endian x86 ELF program or shared object (types 2 and 3), as qemu registers it.
magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
namespace=(unshare --user --map-root-user --mount)

# Registered anew on every run: a registration neither survives a reboot nor follows a change
# of the interpreter, which flag F opens once, at registration.
register_interpreter() {
    if [ ! -e "$binfmt/register" ]; then
        mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null || return 1
    fi
    if [ -e "$binfmt/$entry" ]; then
        echo -1 2>/dev/null >"$binfmt/$entry" || return 1
    fi
    printf ':%s:M::%s:%s:%s:PF\n' "$entry" "$magic" "$mask" "$interpreter" 2>/dev/null \
        >"$binfmt/register"
}

runs_natively() {
    /usr/lib/wine/wine --version >/dev/null 2>&1
}

run_suite() {
    # The prefix of its own, not the x86_64 one that scripts/test-windows.sh has exported.
    unset WINEPREFIX
    export QUORVEL_WINE_ARCH=i686
    . scripts/wine-env.sh
    export QUORVEL_I386_PREFIX="$WINEPREFIX"
    export QEMU_CPU=pentium2
    local booted=$SECONDS
    start_wine
    echo "i686: wine prefix up in $((SECONDS - booted)) s"
    # Under qemu a 32-bit wine process has been seen to fault once as it ended, after its
    # tests had passed (1 run in 7): an entry that fails is run once more, and ctest says so.
    local retry=()
    [ "${1:-}" = emulated ] && retry=(--repeat until-pass:2)
    ctest --test-dir build-windows/i686 --output-on-failure "${retry[@]}"
}

# Exits with 77, which scripts/test-windows.sh reports as skipped, once the check has passed.
import_check_only() {
    echo "i686: tests skipped, import check only: $*"
    ctest --test-dir build-windows/i686 --output-on-failure -R '^imports_'
    exit 77
}

if [ "${1:-}" = --in-namespace ]; then
    if ! register_interpreter; then
        echo "i686: could not register qemu in the user namespace" >&2
        exit 1
    fi
    echo "i686: under qemu as a Pentium II, registered in a user namespace of the run's own"
    run_suite emulated
    exit
fi

if [ ! -x /usr/lib/wine/wine ]; then
    import_check_only "the 32-bit wine is missing: scripts/install-deps.sh installs it"
fi
if command -v qemu-i386 >/dev/null \
    && "${namespace[@]}" mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null; then
    exec "${namespace[@]}" "$0" --in-namespace
fi
# A registration of an earlier run would refuse the probe: drop it, and look again.
if [ -w "$binfmt/$entry" ]; then
    echo -1 >"$binfmt/$entry"
fi
if runs_natively; then
    echo "i686: run natively on this machine's processor, not limited to a Pentium II's" \
         "instructions: that takes qemu-i386 (scripts/install-deps.sh installs it) and a" \
         "kernel that allows binfmt_misc in a user namespace (Linux 6.7 and later)"
    run_suite
elif ! command -v qemu-i386 >/dev/null; then
    import_check_only "this kernel cannot run 32-bit programs and qemu-i386 is missing:" \
        "scripts/install-deps.sh installs it"
elif [ "$(id -u)" -ne 0 ]; then
    import_check_only "this kernel cannot run 32-bit programs, and handing them to qemu" \
        "through binfmt_misc takes root: run as root"
elif ! register_interpreter; then
    import_check_only "this kernel cannot run 32-bit programs and binfmt_misc is unavailable:" \
        "load it (modprobe binfmt_misc) and run again"
else
    echo "i686: under qemu as a Pentium II, registered machine-wide for this prefix only"
    run_suite emulated
fi
