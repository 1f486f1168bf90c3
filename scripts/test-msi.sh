#!/usr/bin/env bash
# Tests the Windows Installer packages that scripts/package-windows.sh builds. Both must hold
# the three files of Quorvel and nothing else, for Windows Installer 2.0 and the right
# platform; the x64 one (the only one 64-bit wine runs) must install them in Program
# Files\Quorvel with a Start-menu shortcut, run from there, give way to a newer version and
# leave nothing behind when removed. Run by scripts/test-windows.sh after the build.
set -euo pipefail
cd "$(dirname "$0")/.."

# No Linux menu entries for the shortcut the package makes.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=};winemenubuilder.exe=d"
. scripts/wine-env.sh

fail() { echo "test-msi: $*" >&2; exit 1; }
# Runs a command that must end with status 0, naming it if it does not.
expect_success() { "$@" || fail "status $? from: $*"; }
# The value of a property of a package.
property() {
    msiinfo export "$1" Property | tr -d '\r' | awk -F '\t' -v name="$2" '$1 == name { print $2 }'
}

scripts/package-windows.sh >/dev/null
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-windows/x86_64/CMakeCache.txt)
for arch in x86:Intel x64:x64; do
    msi="dist/quorvel-$version-windows-${arch%:*}.msi"
    files=$(msiinfo export "$msi" File | tail -n +4 | cut -f 3 | LC_ALL=C sort | tr '\n' ' ')
    [ "$files" = "README.txt quorvel.com quorvel.exe " ] || fail "$msi holds: $files"
    [ "$(property "$msi" ALLUSERS)" = 1 ] || fail "$msi does not install for every user"
    summary=$(msiinfo suminfo "$msi")
    [[ $summary == *$'\nVersion: 200 (c8)\n'* ]] || fail "$msi asks for more than Installer 2.0"
    [[ $summary == *$'\nTemplate: '"${arch#*:};1033"$'\n'* ]] || fail "$msi is not for ${arch#*:}"
done

start_wine
wine() { /usr/lib/wine/wine64 "$@" </dev/null; }
drive_c="$WINEPREFIX/drive_c"
installed="$drive_c/Program Files/Quorvel"
# Whether Add/Remove Programs lists a product. (wine's reg cannot query its key by name.)
is_listed() {
    local products
    products=$(wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall')
    [[ $products == *"$1"* ]]
}
# wine puts a per-machine shortcut in the installing user's Start menu, not in All Users'.
shortcuts() { find "$drive_c" -path '*/Start Menu/Programs/Quorvel.lnk'; }
msi="dist/quorvel-$version-windows-x64.msi"
product=$(property "$msi" ProductCode)

expect_success wine msiexec /i "$(windows_path "$PWD/$msi")" /qn
for file in quorvel.exe quorvel.com README.txt; do
    [ -f "$installed/$file" ] || fail "$msi did not install $installed/$file"
done
[ -n "$(shortcuts)" ] || fail "$msi made no Start-menu shortcut"
is_listed "$product" || fail "Add/Remove Programs does not list $msi"
# Add/Remove Programs shows the icon the product registers.
icon=$(wine reg query 'HKLM\Software\Classes\Installer\Products' /s | tr -d '\r' \
    | sed -n "s/^ *ProductIcon *REG_SZ *C:\\\\\(.*$product.*\)/\1/p")
cmp -s "$drive_c/${icon//\\//}" app/icons/quorvel.ico || fail "$msi registered no icon: '$icon'"
shown=$(wine 'C:\Program Files\Quorvel\quorvel.com' --version) \
    || fail "the installed quorvel.com --version ended with status $?"
[[ $shown == *"$version"* ]] || fail "the installed quorvel.com --version printed: $shown"

# The same files as a newer version: installing it removes the older one.
newer="build-windows/quorvel-newer-windows-x64.msi"
app/win32/installer/build-msi.sh x64 "$((${version%%.*} + 1)).0.0" \
    "build-windows/package-x64/quorvel-$version" "$newer"
expect_success wine msiexec /i "$(windows_path "$PWD/$newer")" /qn
is_listed "$(property "$newer" ProductCode)" || fail "the newer version is not listed"
! is_listed "$product" || fail "the newer version left the older one installed"

expect_success wine msiexec /x "$(windows_path "$PWD/$newer")" /qn
[ ! -e "$installed" ] || fail "removing left $installed"
[ -z "$(shortcuts)" ] || fail "removing left $(shortcuts)"
echo "test-msi: the MSI packages install, run, upgrade and uninstall"
