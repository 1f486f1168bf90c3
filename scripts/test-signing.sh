#!/usr/bin/env bash
# Signs a release with a throwaway certificate authority of its own and checks, for both
# architectures, that quorvel.exe and quorvel.com as the zip and the MSI hold them, and the MSI
# itself, carry a SHA-1 signature with a SHA-256 one nested in it, both verified against that
# authority, and that one altered byte breaks a signature. Run by scripts/test-windows.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

fail() { echo "test-signing: $*" >&2; exit 1; }
work=build-windows/signing-test
rm -rf "$work"
mkdir -p "$work"
# A password that a careless shell line would split or expand.
export QUORVEL_SIGN_PASSWORD='throw away; $HOME "*"'
openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj "/CN=Quorvel test CA" \
    -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign \
    -keyout "$work/ca.key" -out "$work/ca.pem" 2>/dev/null
openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj "/CN=Quorvel test signer" \
    -CA "$work/ca.pem" -CAkey "$work/ca.key" -addext basicConstraints=CA:FALSE \
    -addext extendedKeyUsage=codeSigning -keyout "$work/signer.key" -out "$work/signer.pem" \
    2>/dev/null
openssl pkcs12 -export -inkey "$work/signer.key" -in "$work/signer.pem" \
    -passout env:QUORVEL_SIGN_PASSWORD -out "$work/signer.pfx"

QUORVEL_SIGN_PFX="$work/signer.pfx" scripts/package-windows.sh "$work/dist" >/dev/null
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-windows/x86_64/CMakeCache.txt)

# The digest algorithm of each signature of a file, in order, once all verify against the CA.
signatures() {
    local report
    report=$(osslsigncode verify -CAfile "$work/ca.pem" -in "$1" 2>&1) || return 0
    sed -n 's/^Message digest algorithm  *: *//p' <<<"$report" | tr '\n' ' '
}

signed=()
for name in x86 x64; do
    package="$work/dist/quorvel-$version-windows-$name"
    cmake -E make_directory "$work/zip-$name"
    (cd "$work/zip-$name" && cmake -E tar xf "$OLDPWD/$package.zip")
    msiextract -C "$work/msi-$name" "$package.msi" >/dev/null
    signed+=("$package.msi")
    for program in quorvel.exe quorvel.com; do
        # msiextract leaves out the 64-bit Program Files folder's name.
        signed+=("$work/zip-$name/quorvel-$version/$program"
                 "$(find "$work/msi-$name" -name "$program")")
    done
done
for file in "${signed[@]}"; do
    found=$(signatures "$file")
    [ "$found" = "SHA1 SHA256 " ] || fail "$file: signatures verified: '$found', not SHA1 SHA256"
done

# One byte changed, in a program's code and in a package's cabinet: neither verifies.
altered_ones=("$work/zip-x64/quorvel-$version/quorvel.exe"
              "$work/dist/quorvel-$version-windows-x86.msi")
for file in "${altered_ones[@]}"; do
    altered="$work/altered-$(basename "$file")"
    cp "$file" "$altered"
    offset=$(($(stat -c %s "$altered") / 2))
    byte=$(od -An -tu1 -j "$offset" -N 1 "$altered")
    printf "\\$(printf %03o $((byte ^ 1)))" \
        | dd of="$altered" bs=1 seek="$offset" conv=notrunc status=none
    ! osslsigncode verify -CAfile "$work/ca.pem" -in "$altered" >/dev/null 2>&1 \
        || fail "$file verifies with the byte at $offset changed"
done
echo "test-signing: ${#signed[@]} files signed with SHA-1 and SHA-256, altered ones refused"
