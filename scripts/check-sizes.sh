#!/usr/bin/env bash
# Checks that Windows programs stay small enough to be copied at every start-up over the slow
# links of the machines that run NetBEUI: at most 320 KiB (327,680 bytes) for an x86_64
# program and 400 KiB (409,600 bytes) for an i686 one. Prints each program's size and limit;
# exits 1 when any is over.
# Usage: scripts/check-sizes.sh PROGRAM.exe...
set -euo pipefail
[ $# -gt 0 ] || { echo "usage: $0 PROGRAM.exe..." >&2; exit 2; }

status=0
for program in "$@"; do
    case "$(objdump -f "$program" 2>/dev/null | sed -n 's/.*file format //p')" in
        pei-i386) limit=409600 ;;
        pei-x86-64) limit=327680 ;;
        *) echo "$program: not a Windows program" >&2; status=1; continue ;;
    esac
    size=$(stat -c %s "$program")
    if [ "$size" -le "$limit" ]; then
        echo "$program: $size bytes (limit $limit)"
    else
        echo "$program: $size bytes, over the limit of $limit" >&2
        status=1
    fi
done
exit "$status"
