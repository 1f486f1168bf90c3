#!/usr/bin/env bash
# Installs the Debian packages that building, testing and the demo need; skips what is there.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libgtest-dev libgmock-dev
    xvfb xauth
    libbenchmark-dev
    clang libclang-rt-14-dev llvm clang-tidy clang-format
    # The Windows edition: the -win32 thread model compilers, and wine to run its tests.
    g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32 wine64
    # Its Windows Installer packages (wixl, of msitools; msiinfo reads them back in the tests),
    # and the signing of a release (a throwaway certificate from openssl in its test).
    wixl msitools osslsigncode openssl
)
# The i686 programs run under the 32-bit wine, each process under qemu's user-mode emulator as
# a Pentium II (scripts/test-windows-i686.sh): qemu 10, which starts a process in a third of a
# second, where Debian 12's own 7.2 takes a minute (so never qemu-user-static 7.2 beside it).
# Recommends are left out: qemu-user-binfmt would register every foreign architecture
# machine-wide, which nothing here needs.
wine32=wine32:i386
qemu_package=qemu-user
qemu_lowest=1:10~

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

missing=()
for package in "${packages[@]}" "$wine32"; do
    installed "$package" || missing+=("$package")
done
qemu_version=$(dpkg-query -W -f='${Version}' "$qemu_package" 2>/dev/null || true)
qemu_missing=false
if ! installed "$qemu_package" || ! dpkg --compare-versions "$qemu_version" ge "$qemu_lowest"; then
    qemu_missing=true
fi
[ ${#missing[@]} -eq 0 ] && ! $qemu_missing && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
# Others may be installing at the same time: wait for their lock rather than fail.
apt_get() {
    DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=900 "$@"
}

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    echo "Adding the i386 architecture for wine32"
    $sudo dpkg --add-architecture i386
fi
apt_get update -qq

# Debian 12's qemu is too slow: its backports suite, from the mirror already in use, has 10.
. /etc/os-release
qemu_suite=()
if [ "${VERSION_CODENAME:-}" = bookworm ]; then
    backports=bookworm-backports
    qemu_suite=(-t "$backports")
    if ! apt-get indextargets --format '$(RELEASE)' | grep -qx "$backports"; then
        mirror=$(apt-get indextargets --format '$(RELEASE) $(REPO_URI)' \
                 | awk '$1 == "bookworm" { print $2; exit }')
        [ -n "$mirror" ] || { echo "No apt source for bookworm to take the mirror from" >&2; exit 1; }
        echo "Adding $backports from $mirror"
        printf 'Types: deb\nURIs: %s\nSuites: %s\nComponents: main\nSigned-By: %s\n' \
            "$mirror" "$backports" /usr/share/keyrings/debian-archive-keyring.gpg \
            | $sudo tee /etc/apt/sources.list.d/$backports.sources >/dev/null
        apt_get update -qq
    fi
fi

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    apt_get install -y -qq --no-install-recommends "${missing[@]}"
fi
if $qemu_missing; then
    echo "Installing: $qemu_package from ${qemu_suite[*]:-the release}"
    apt_get install -y -qq --no-install-recommends "${qemu_suite[@]}" "$qemu_package"
fi
