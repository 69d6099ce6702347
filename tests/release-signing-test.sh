#!/bin/bash
# The signed release and its bill of materials, with a certificate authority
# and certificates made for the test: two signed releases are the same bytes;
# the signature verifies, with the commit's time, and fails on a changed DLL;
# the signed DLL is the tested one with a signature appended and passes the
# DLL check; what does not fit is refused before anything is written; the
# SPDX document names the shipped DLL's SHA-256.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/lib.sh"
ensure_packages osslsigncode openssl jq unzip llvm || exit 1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
tested=$TIRVALO_BUILD_DIR/bin/Tirvalo.dll
git -C "$root" log -1 >/dev/null 2>&1 || export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-1796731897}
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct)}
cd "$work" || exit 1

# The authority; a code-signing certificate (signer), one for servers only,
# an expired one, and a key of no certificate.  The expired one ended a day
# ago: OpenSSL 3.4 and later take its dates, and refuse a lifetime of -1
# day, which is how older ones are asked for it.
issue() {  # NAME EXTENDED_KEY_USAGE VALIDITY...
    openssl req -newkey rsa:2048 -nodes -keyout "$1.key" -subj "/CN=$1" -out "$1.csr" &&
        openssl x509 -req -in "$1.csr" -CA ca.pem -CAkey ca.key -set_serial "$RANDOM" "${@:3}" \
            -extfile <(printf 'extendedKeyUsage=%s\n' "$2") -out "$1.pem"
}
ended=(-days -1)
openssl x509 -help 2>&1 | grep -q -- -not_after &&
    ended=(-not_before "$(date -u -d '2 days ago' +%Y%m%d%H%M%SZ)" -not_after "$(date -u -d '1 day ago' +%Y%m%d%H%M%SZ)")
{ openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -subj "/CN=Test CA" -days 2 \
      -addext basicConstraints=critical,CA:true -addext keyUsage=critical,keyCertSign &&
    issue signer codeSigning -days 1 && issue server serverAuth -days 1 && issue expired codeSigning "${ended[@]}" &&
    openssl genpkey -algorithm RSA -out stray.key &&
    openssl pkcs12 -export -inkey signer.key -in signer.pem -passout pass:'p4ss w0rd' -out signer.p12
} >/dev/null 2>&1 || { echo "FAIL: openssl cannot make the test certificates"; exit 1; }

# Two signed releases in two folders, from the PEM files and from the PKCS#12
# file (its password in the environment).
package_release "$TIRVALO_BUILD_DIR" "$work/dist" signer.key signer.pem "" "" &&
    TIRVALO_SIGN_PASSWORD='p4ss w0rd' package_release "$TIRVALO_BUILD_DIR" "$work/again/dist" "" "" signer.p12 "" ||
    { echo "FAIL: cannot pack a signed release"; exit 1; }
diff -r dist again/dist >/dev/null ||
    fail "two signed releases of one commit with one key differ: $(cat dist/SHA256SUMS again/dist/SHA256SUMS)"
name=Tirvalo-$(dll_file_version "$tested")-x64
shipped=shipped/Tirvalo.dll && unzip -q "dist/$name.zip" Tirvalo.dll -d shipped || fail "cannot unpack $name.zip"

# The signature verifies against the authority, made at the commit's time;
# with one byte of the code changed it does not.
osslsigncode verify -CAfile ca.pem -in "$shipped" >verify.out 2>&1 || fail "no valid signature: $(tail -3 verify.out)"
grep -qF "Signing time: $(LC_ALL=C date -u -d "@$epoch" '+%b %e %H:%M:%S %Y') GMT" verify.out ||
    fail "the signing time is not the commit's: $(grep 'Signing time' verify.out)"
cp "$shipped" changed.dll
byte=$(od -An -tu1 -j 4096 -N 1 changed.dll)
printf "\\$(printf %03o $((byte ^ 1)))" | dd of=changed.dll bs=1 seek=4096 conv=notrunc 2>/dev/null
osslsigncode verify -CAfile ca.pem -in changed.dll >changed.out 2>&1 && fail "a changed DLL verifies"
grep -q MISMATCH changed.out || fail "a changed DLL fails for another reason: $(tail -3 changed.out)"

# The tested DLL with the certificate table appended: of its bytes only the
# PE checksum (4 bytes at 64 in the optional header) and the table's
# directory entry (8 bytes at 144) differ; the debug directory, naming the
# PDB, is untouched.
pe=$(od -An -tu4 -j 60 -N 4 "$tested")
read -r table size < <(od -An -tu4 -j $((pe + 24 + 144)) -N 8 "$shipped")
length=$(stat -c %s "$tested")
[ "$table" = $(((length + 7) / 8 * 8)) ] && [ $((table + size)) = "$(stat -c %s "$shipped")" ] ||
    fail "the certificate table ($table, $size bytes) is not appended to the $length bytes tested"
changed=$(cmp -l "$tested" "$shipped" 2>/dev/null | awk -v c=$((pe + 24 + 64)) -v s=$((pe + 24 + 144)) '
    { at = $1 - 1 } !(at >= c && at < c + 4) && !(at >= s && at < s + 8) { print at }' | head -3)
[ -z "$changed" ] || fail "the signed DLL differs from the tested one at $changed"
diff <(llvm-readobj --coff-debug-directory "$tested" | sed 1,2d) \
     <(llvm-readobj --coff-debug-directory "$shipped" | sed 1,2d) >/dev/null || fail "the debug directory changed"
"$root/tests/check-dll.sh" "$shipped" >check-dll.out || fail "the DLL check fails: $(cat check-dll.out)"

# What does not fit is refused before the build, and dist/ stays empty.
while IFS='|' read -r reason key cert; do
    out=$("$root/scripts/release" --no-check --dist refused --sign-key "$key" --sign-cert "$cert" 2>&1) &&
        fail "$reason: signed"
    grep -qF "$reason" <<<"$out" || fail "$reason: the message is: $out"
    [ -z "$(ls -A refused 2>/dev/null)" ] || fail "$reason: wrote $(ls refused)"
done <<'EOF'
is not for code signing|server.key|server.pem
the key does not match the certificate|stray.key|signer.pem
has expired|expired.key|expired.pem
holds no PEM certificate|signer.key|signer.key
EOF

# The bill of materials: SPDX 2.3 JSON, listed in SHA256SUMS, naming the
# shipped DLL's SHA-256, the Debian package of the MinGW-w64 start-up code
# linked in, with its version, and the tools that built the DLL.
spdx=dist/$name.spdx.json
grep -q " $name.spdx.json\$" dist/SHA256SUMS || fail "SHA256SUMS does not list $name.spdx.json"
read -r sha256 _ < <(sha256sum "$shipped")
deb=$(dpkg -S /usr/x86_64-w64-mingw32/lib/dllcrt2.o | cut -d: -f1) && debversion=$(dpkg-query -W -f '${Version}' "$deb")
jq -e --arg sha "$sha256" --arg deb "$deb" --arg version "$debversion" '.spdxVersion == "SPDX-2.3"
    and any(.files[]; .fileName == "./Tirvalo.dll" and any(.checksums[]; .checksumValue == $sha))
    and any(.packages[]; .name == $deb and .versionInfo == $version)
    and ([.relationships[].relationshipType] | contains(["STATIC_LINK", "BUILD_TOOL_OF"]))' "$spdx" >/dev/null ||
    fail "$spdx does not parse, or lacks the DLL's SHA-256 $sha256, $deb $debversion or a relationship"

[ $failures = 0 ] && echo "signed release $name ($sha256) and its bill of materials checked"
exit $((failures > 0))
