#!/usr/bin/env bash
# Checks that Windows programs run on the first Windows of their architecture: Windows 2000
# (5.0) for i686, Windows XP x64 / Server 2003 x64 (5.2) for x86_64. Every import must come
# from a system DLL that Windows 2000 has and be no function that only a later Windows has,
# and the PE header must ask for that version. Prints the imports per DLL of each program;
# exits 1 naming every offending import.
# Usage: scripts/check-imports.sh PROGRAM.exe...
set -euo pipefail
data="$(cd "$(dirname "$0")" && pwd)/windows-compat"
[ $# -gt 0 ] || { echo "usage: $0 PROGRAM.exe..." >&2; exit 2; }

status=0
for program in "$@"; do
    case "$(objdump -f "$program" 2>/dev/null | sed -n 's/.*file format //p')" in
        pei-i386) objdump=i686-w64-mingw32-objdump; wanted=5.0; crt="nt4 w2k w2ksp4" ;;
        pei-x86-64) objdump=x86_64-w64-mingw32-objdump; wanted=5.2
                    crt="nt4 w2k w2ksp4 xp s2003 s2003sp1" ;;
        *) echo "$program: not a Windows program" >&2; status=1; continue ;;
    esac
    if ! "$objdump" -p "$program" | awk -v program="$(basename "$program")" -v wanted="$wanted" -v crt="$crt" \
        -v later="$data/later-apis.tsv" -v msvcrt="$data/msvcrt-first.tsv" '
        BEGIN {
            FS = "\t"
            while ((getline line < later) > 0) {
                if (line ~ /^#/) continue
                split(line, f, "\t"); laterApi[tolower(f[2]) "!" f[1]] = f[3]
            }
            while ((getline line < msvcrt) > 0) {
                split(line, f, "\t"); crtFirst[f[2]] = f[1]
            }
            split("kernel32 user32 gdi32 comctl32 shell32 advapi32 msvcrt", names, " ")
            for (i in names) allowedDll[names[i]] = 1
            split(crt, names, " ")
            for (i in names) crtInBaseline[names[i]] = 1
            FS = " "
        }
        /^Major(OSystem|Subsystem)Version/ { major[$1] = $2 }
        /^Minor(OSystem|Subsystem)Version/ { minor[$1] = $2 }
        /DLL Name:/ { dll = tolower($3); sub(/\.dll$/, "", dll); order[++dlls] = dll; inTable = 0
                      if (!(dll in allowedDll)) bad[++faults] = dll ".dll: not a Windows 2000 system DLL" }
        /vma:  Hint\/Ord Member-Name/ { inTable = 1; next }
        /^$/ { inTable = 0 }
        inTable && NF >= 3 {
            name = $3; count[dll]++
            if (dll == "msvcrt") {
                if (!(name in crtFirst)) bad[++faults] = "msvcrt!" name ": in no system msvcrt.dll"
                else if (!(crtFirst[name] in crtInBaseline)) bad[++faults] = "msvcrt!" name ": first in msvcrt.dll of " crtFirst[name]
            } else if ((dll "!" name) in laterApi && laterApi[dll "!" name] + 0 > wanted + 0) {
                bad[++faults] = dll "!" name ": first in Windows " laterApi[dll "!" name]
            }
        }
        END {
            os = major["MajorOSystemVersion"] "." minor["MinorOSystemVersion"]
            subsystem = major["MajorSubsystemVersion"] "." minor["MinorSubsystemVersion"]
            if (os != wanted) bad[++faults] = "PE header: OS version " os ", not " wanted
            if (subsystem != wanted) bad[++faults] = "PE header: subsystem version " subsystem ", not " wanted
            line = program " (Windows " subsystem "):"
            for (i = 1; i <= dlls; i++) line = line " " order[i] " " count[order[i]] + 0
            print line
            for (i = 1; i <= faults; i++) print "  refused: " bad[i] > "/dev/stderr"
            exit faults > 0
        }'; then
        status=1
    fi
done
exit "$status"
