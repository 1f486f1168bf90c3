#!/usr/bin/env bash
# Builds the Windows edition and packs each architecture into FOLDER (default dist/):
# quorvel-VERSION-windows-x86.zip and quorvel-VERSION-windows-x64.zip, each holding quorvel.exe,
# quorvel.com, README.txt, and the stand-in lanacfg.exe with demo.cmd in demo\; and
# quorvel-VERSION-windows-x86.msi and -x64.msi, which install the first three (never the
# stand-in) into Program Files\Quorvel. Usage: scripts/package-windows.sh [FOLDER]
#
# With QUORVEL_SIGN_PFX naming a PKCS#12 file (code-signing certificate and key) and
# QUORVEL_SIGN_PASSWORD its password, quorvel.exe and quorvel.com are signed before they go
# into the zip and the MSI, and each MSI once built: a SHA-1 signature, the one Windows 2000
# and XP before SP3 can check, with a SHA-256 one nested in it for later Windows.
# QUORVEL_SIGN_TIMESTAMP_URL, when set, names the server that timestamps both.
set -euo pipefail
cd "$(dirname "$0")/.."
dist=$(realpath -m "${1:-dist}")

if [ -n "${QUORVEL_SIGN_PFX:-}" ]; then
    [ -f "$QUORVEL_SIGN_PFX" ] || { echo "$0: no certificate file $QUORVEL_SIGN_PFX" >&2; exit 2; }
    [ -n "${QUORVEL_SIGN_PASSWORD+set}" ] \
        || { echo "$0: QUORVEL_SIGN_PFX needs QUORVEL_SIGN_PASSWORD" >&2; exit 2; }
    pfx=$(realpath "$QUORVEL_SIGN_PFX")
else
    echo "$0: no QUORVEL_SIGN_PFX: the release is unsigned" >&2
fi
# Signs a file in place with the two signatures, through files beside it. The password goes
# through a pipe, never on a command line that others could read. The SHA-1 signature gets the
# Authenticode timestamp that older Windows reads, the nested SHA-256 one an RFC 3161 timestamp.
sign() {
    [ -n "${pfx:-}" ] || return 0
    local file=$1 sha1_timestamp=() sha256_timestamp=()
    if [ -n "${QUORVEL_SIGN_TIMESTAMP_URL:-}" ]; then
        sha1_timestamp=(-t "$QUORVEL_SIGN_TIMESTAMP_URL")
        sha256_timestamp=(-ts "$QUORVEL_SIGN_TIMESTAMP_URL")
    fi
    osslsigncode sign -pkcs12 "$pfx" -readpass <(printf %s "$QUORVEL_SIGN_PASSWORD") \
        -n Quorvel -h sha1 "${sha1_timestamp[@]}" -in "$file" -out "$file.sha1" >/dev/null
    osslsigncode sign -pkcs12 "$pfx" -readpass <(printf %s "$QUORVEL_SIGN_PASSWORD") \
        -n Quorvel -nest -h sha256 "${sha256_timestamp[@]}" -in "$file.sha1" -out "$file.signed" \
        >/dev/null
    rm "$file.sha1"
    mv "$file.signed" "$file"
}

scripts/build-windows.sh
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-windows/x86_64/CMakeCache.txt)
mkdir -p "$dist"
for arch in i686 x86_64; do
    case $arch in i686) name=x86 ;; x86_64) name=x64 ;; esac
    build="build-windows/$arch"
    stage="build-windows/package-$name/quorvel-$version"
    rm -rf "build-windows/package-$name"
    mkdir -p "$stage/demo"
    cp "$build/app/win32/quorvel.exe" "$build/app/win32/quorvel.com" "$stage/"
    sign "$stage/quorvel.exe"
    sign "$stage/quorvel.com"
    # Windows readers expect CRLF line ends in text files.
    sed "s/@VERSION@/$version/g; s/\$/\r/" app/win32/release/README.txt > "$stage/README.txt"
    sed 's/$/\r/' app/win32/release/demo.cmd > "$stage/demo/demo.cmd"
    cp "$build/tools/lanacfg/lanacfg.exe" "$stage/demo/"
    zip="$dist/quorvel-$version-windows-$name.zip"
    rm -f "$zip"
    (cd "build-windows/package-$name" && cmake -E tar cf "$zip" --format=zip "quorvel-$version")
    echo "$zip"
    msi="$dist/quorvel-$version-windows-$name.msi"
    app/win32/installer/build-msi.sh "$name" "$version" "$stage" "$msi"
    sign "$msi"
    echo "$msi"
done
