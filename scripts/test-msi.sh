#!/usr/bin/env bash
# Tests the Windows Installer packages that scripts/package-windows.sh builds: their tables as
# msiinfo reads them, against the programs' version resource; then, under 64-bit wine, the x86
# package refused before and after the x64 one, which replaces an installed 32-bit Quorvel,
# installs, registers its event source, runs, gives way to a newer version and leaves nothing
# behind when removed. Run by scripts/test-windows.sh after the build.
set -euo pipefail
cd "$(dirname "$0")/.."

# No Linux menu entries for the shortcut the package makes.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=};winemenubuilder.exe=d"
. scripts/wine-env.sh

fail() { echo "test-msi: $*" >&2; exit 1; }
# Runs a command that must end with status 0, naming it if it does not.
expect_success() { "$@" || fail "status $? from: $*"; }
# The COLUMN of the rows of TABLE in package MSI whose WHERE_COLUMN holds KEY, one a line.
cell() {
    { msiinfo export "$1" "$2" 2>/dev/null || true; } | tr -d '\r' \
        | awk -F '\t' -v where="$3" -v key="$4" -v column="$5" '
            NR == 1 { for (i = 1; i <= NF; i++) number[$i] = i }
            NR > 3 && $number[where] == key { print $number[column] }'
}
property() { cell "$1" Property Property "$2" Value; }
# The text after KEYWORD on its line of a program's resources, as windres writes them as .rc.
resource() {
    x86_64-w64-mingw32-windres -J coff -i "$1" -O rc | tr -d '\r' | sed -n "s/^ *$2 *//p"
}

scripts/package-windows.sh >/dev/null
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-windows/x86_64/CMakeCache.txt)
x86_code="{5EB193BD-E119-4706-ABF2-56EB7B0FD2EA}"
x64_code="{CC0653F1-4D4A-46F7-9394-B59A692A81AC}"
x86_condition="NOT VersionNT64 OR Installed"
# Each row: package|table|column=key|column|expected value ("" for no such row).
checks=(
    "x86|Property|Property=UpgradeCode|Value|$x86_code"
    "x64|Property|Property=UpgradeCode|Value|$x64_code"
    "x86|Upgrade|UpgradeCode=$x64_code|ActionProperty|"
    # Every version of the 32-bit Quorvel is removed: no OnlyDetect, no maximum.
    "x64|Upgrade|ActionProperty=QUORVEL_X86_REPLACED|UpgradeCode|$x86_code"
    "x64|Upgrade|ActionProperty=QUORVEL_X86_REPLACED|VersionMin|0.0.0"
    "x64|Upgrade|ActionProperty=QUORVEL_X86_REPLACED|VersionMax|"
    "x64|Upgrade|ActionProperty=QUORVEL_X86_REPLACED|Attributes|256"
    "x86|LaunchCondition|Condition=$x86_condition|Description|This Quorvel package is for\
 32-bit Windows. On 64-bit Windows install quorvel-$version-windows-x64.msi."
    "x64|LaunchCondition|Condition=$x86_condition|Description|"
)
event_source='SYSTEM\CurrentControlSet\Services\Eventlog\Application\Quorvel'
for name in x86 x64; do
    stage="build-windows/package-$name/quorvel-$version"
    checks+=("$name|Registry|Name=EventMessageFile|Key|$event_source\\"
             "$name|Registry|Name=EventMessageFile|Value|[#quorvel.com]"
             "$name|Registry|Name=TypesSupported|Value|#7")
    checks+=("$name|Property|Property=Manufacturer|Value|$(resource "$stage/quorvel.exe" \
        'VALUE "CompanyName", ' | tr -d '"')"
             "$name|Property|Property=ALLUSERS|Value|1"
             "$name|Property|Property=ARPNOMODIFY|Value|1")
    for arp in ARPINSTALLLOCATION ARPCONTACT ARPHELPLINK ARPURLINFOABOUT ARPREADME ARPCOMMENTS; do
        checks+=("$name|CustomAction|Source=$arp|Type|51")
    done
    for program in quorvel.exe quorvel.com; do
        translation=$(resource "$stage/$program" 'VALUE "Translation", ')
        checks+=("$name|File|File=$program|Version|$(resource "$stage/$program" FILEVERSION \
            | sed 's/, /./g')"
                 "$name|File|File=$program|Language|$((${translation%%,*}))"
                 "$name|MsiFileHash|File_=$program|Options|")
    done
done
for check in "${checks[@]}"; do
    IFS='|' read -r name table key column expected <<<"$check"
    found=$(cell "dist/quorvel-$version-windows-$name.msi" "$table" "${key%%=*}" "${key#*=}" \
        "$column")
    [ "$found" = "$expected" ] || fail "$name $table $key $column: '$found', not '$expected'"
done
for arch in x86:Intel x64:x64; do
    msi="dist/quorvel-$version-windows-${arch%:*}.msi"
    files=$(msiinfo export "$msi" File | tail -n +4 | cut -f 3 | LC_ALL=C sort | tr '\n' ' ')
    [ "$files" = "README.txt quorvel.com quorvel.exe " ] || fail "$msi holds: $files"
    summary=$(msiinfo suminfo "$msi")
    [[ $summary == *$'\nVersion: 200 (c8)\n'* ]] || fail "$msi asks for more than Installer 2.0"
    [[ $summary == *$'\nTemplate: '"${arch#*:};1033"$'\n'* ]] || fail "$msi is not for ${arch#*:}"
done

start_wine
wine() { /usr/lib/wine/wine64 "$@" </dev/null; }
drive_c="$WINEPREFIX/drive_c"
installed="$drive_c/Program Files/Quorvel"
# Installs a package as a script would, through cmd /c, and prints the %ERRORLEVEL% it leaves:
# wine's own status keeps only its low byte (67 for 1603). The path goes without quotes, which
# wine would hand cmd escaped as \".
install_status() {
    { wine cmd /c "msiexec /i $(windows_path "$PWD/$1") /qn ${2:-} & call echo %^ERRORLEVEL%" \
        || true; } | tr -d '\r' | tail -n 1
}
# The product codes of the Quorvel products that Add/Remove Programs lists, 64-bit or 32-bit.
listed() {
    local view
    for view in Software 'Software\Wow6432Node'; do
        wine reg query "HKLM\\$view\\Microsoft\\Windows\\CurrentVersion\\Uninstall" /s || true
    done | tr -d '\r' | awk -F '    ' '
        /^HKEY/ { key = $0; sub(/.*\\/, "", key) }
        $2 == "DisplayName" && $4 == "Quorvel" { print key }'
}
# A value that Add/Remove Programs shows for the 64-bit product of that code.
arp_value() {
    wine reg query "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall" /s \
        | tr -d '\r' | awk -F '    ' -v key="$1" -v name="$2" '
            /^HKEY/ { inside = index($0, "\\" key) > 0 }
            inside && $2 == name { print $4 }'
}
# The values of the event source's key, one "NAME TYPE DATA" a line; nothing without the key.
event_source() {
    { wine reg query "HKLM\\$event_source" 2>/dev/null || true; } | tr -d '\r' \
        | awk -F '    ' 'NF == 4 { print $2 " " $3 " " $4 }'
}
# wine puts a per-machine shortcut in the installing user's Start menu, not in All Users'.
shortcuts() { find "$drive_c" -path '*/Start Menu/Programs/Quorvel.lnk'; }
x86_msi="dist/quorvel-$version-windows-x86.msi"
msi="dist/quorvel-$version-windows-x64.msi"
product=$(property "$msi" ProductCode)

# What an earlier, failed run left (the property lets a 32-bit one through, as below).
for code in $(listed); do expect_success wine msiexec /x "$code" /qn QUORVEL_TEST_32_ON_64=1; done

status=$(install_status "$x86_msi")
[ "$status" = 1603 ] || fail "$x86_msi ended with status $status on 64-bit Windows, not 1603"
[ -z "$(listed)" ] || fail "the refused $x86_msi is listed"
# A 32-bit Quorvel installed before: the x86 package with its launch condition let through by a
# property given only here, so that its removal meets the package's own condition.
old_x86="build-windows/quorvel-installed-x86.msi"
cp "$x86_msi" "$old_x86"
msibuild "$old_x86" -q "DELETE FROM LaunchCondition WHERE Condition = '$x86_condition'" \
    -q "INSERT INTO LaunchCondition (Condition, Description)
        VALUES ('$x86_condition OR QUORVEL_TEST_32_ON_64', 'refused')"
status=$(install_status "$old_x86" QUORVEL_TEST_32_ON_64=1)
[ "$status" = 0 ] && [ "$(listed)" = "$(property "$old_x86" ProductCode)" ] \
    || fail "could not install a 32-bit Quorvel to replace (status $status)"

status=$(install_status "$msi")
[ "$status" = 0 ] || fail "$msi ended with status $status"
[ "$(listed)" = "$product" ] || fail "after $msi, Add/Remove Programs lists: $(listed)"
[ ! -e "$drive_c/Program Files (x86)/Quorvel" ] || fail "$msi left the 32-bit Quorvel's files"
for file in quorvel.exe quorvel.com README.txt; do
    [ -f "$installed/$file" ] || fail "$msi did not install $installed/$file"
done
[ -n "$(shortcuts)" ] || fail "$msi made no Start-menu shortcut"
# Add/Remove Programs shows the icon the product registers, and leads to the read-me.
icon=$(wine reg query 'HKLM\Software\Classes\Installer\Products' /s | tr -d '\r' \
    | sed -n "s/^ *ProductIcon *REG_SZ *C:\\\\\(.*$product.*\)/\1/p")
cmp -s "$drive_c/${icon//\\//}" app/icons/quorvel.ico || fail "$msi registered no icon: '$icon'"
readme='C:\Program Files\Quorvel\README.txt'
for shown in "Publisher|The Quorvel Project" 'InstallLocation|C:\Program Files\Quorvel\' \
    "HelpLink|$readme" "URLInfoAbout|$readme" "ReadMe|$readme" "NoModify|0x1"; do
    value=$(arp_value "$product" "${shown%%|*}")
    [ "$value" = "${shown#*|}" ] || fail "Add/Remove Programs shows ${shown%%|*} '$value'"
done
expected_source=$'EventMessageFile REG_SZ C:\\Program Files\\Quorvel\\quorvel.com\n'
expected_source+='TypesSupported REG_DWORD 0x7'
[ "$(event_source | LC_ALL=C sort)" = "$expected_source" ] \
    || fail "$msi registered the event source as: $(event_source)"
shown=$(wine 'C:\Program Files\Quorvel\quorvel.com' --version) \
    || fail "the installed quorvel.com --version ended with status $?"
[[ $shown == *"$version"* ]] || fail "the installed quorvel.com --version printed: $shown"

status=$(install_status "$x86_msi")
[ "$status" = 1603 ] || fail "$x86_msi after $msi ended with status $status, not 1603"
[ "$(listed)" = "$product" ] && [ -f "$installed/quorvel.exe" ] \
    || fail "the refused $x86_msi took the place of $msi: $(listed)"

# The same files as a newer version: installing it removes the older one.
newer="build-windows/quorvel-newer-windows-x64.msi"
app/win32/installer/build-msi.sh x64 "$((${version%%.*} + 1)).0.0" \
    "build-windows/package-x64/quorvel-$version" "$newer"
expect_success wine msiexec /i "$(windows_path "$PWD/$newer")" /qn
[ "$(listed)" = "$(property "$newer" ProductCode)" ] \
    || fail "after the newer version, Add/Remove Programs lists: $(listed)"

expect_success wine msiexec /x "$(windows_path "$PWD/$newer")" /qn
[ ! -e "$installed" ] || fail "removing left $installed"
[ -z "$(shortcuts)" ] || fail "removing left $(shortcuts)"
[ -z "$(listed)" ] || fail "removing left $(listed) listed"
! wine reg query "HKLM\\$event_source" >/dev/null 2>&1 || fail "removing left HKLM\\$event_source"
echo "test-msi: the MSI packages hold what they should; under wine the x86 one is refused, the" \
    "x64 one replaces it, installs, registers its event source, runs, upgrades and uninstalls"
