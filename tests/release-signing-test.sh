#!/bin/bash
# The signed release and its bill of materials, with a certificate authority
# and certificates made for the test: two signed releases are the same bytes;
# the signature verifies, with the commit's time, and fails on a changed DLL;
# the signed DLL is the tested one with a signature appended and passes the
# DLL check; what does not fit, or an option without its value, is refused
# before anything is written; an interrupted release leaves no folder behind;
# the SPDX document is complete, names the shipped files' checksums, and its
# namespace is that of its content.
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
shipped=shipped/Tirvalo.dll && unzip -q "dist/$name.zip" -d shipped || fail "cannot unpack $name.zip"

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

# An option without its value, or with the next option for one, stops the
# release with its usage and status 2 before the build, and dist/ stays as
# it was.
mkdir kept && echo before >kept/SHA256SUMS
refused() {  # WHAT ARGUMENT...
    local what=$1 status; shift
    "$root/scripts/release" --no-check --dist kept "$@" >refused.out 2>&1; status=$?
    [ $status = 2 ] && grep -q '^usage: scripts/release' refused.out || fail "$what: status $status, $(head -3 refused.out)"
    [ "$(ls -A kept)" = SHA256SUMS ] && [ "$(cat kept/SHA256SUMS)" = before ] || fail "$what: dist/ holds $(ls -A kept)"
}
refused "an empty --sign-pkcs12" --sign-pkcs12 ""
refused "an empty --sign-key" --sign-key "" --sign-cert signer.pem
refused "--sign-cert at the end without its file" --sign-key signer.key --sign-cert
refused "--dist followed by an option" --dist --no-check
[ -e ./--no-check ] && fail "--dist --no-check wrote into a folder --no-check"

# Ctrl-C while the DLL is signed (a stand-in cmake skips the build): the
# release ends with no folder of its own left in TMPDIR, and dist/ as it was.
mkdir fake tmp && printf '#!/bin/sh\nkill -INT 0; sleep 5\n' >fake/osslsigncode && printf '#!/bin/sh\n' >fake/cmake &&
    chmod +x fake/* && PATH=$work/fake:$PATH TMPDIR=$work/tmp setsid -w "$root/scripts/release" --no-check \
        --dist kept --sign-key signer.key --sign-cert signer.pem >interrupted.out 2>&1
[ -z "$(ls -A tmp)" ] || fail "an interrupted release leaves behind: $(ls tmp)"
[ "$(ls -A kept)" = SHA256SUMS ] || fail "an interrupted release wrote $(ls -A kept)"

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

# The required SPDX 2.3 fields, unique ids, relationships between elements
# that exist, and each analysed package's verification code, recomputed.
spdx_problems() {
    jq -e '[.SPDXID, .packages[].SPDXID, .files[].SPDXID] as $ids
        | .spdxVersion == "SPDX-2.3" and .dataLicense == "CC0-1.0" and .SPDXID == "SPDXRef-DOCUMENT"
        and (.name | length > 0) and (.documentNamespace | test("^[a-z][a-z0-9+.-]*:[^#\\s]+$"))
        and (.creationInfo.created | test("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ$")) and (.creationInfo.creators | length > 0)
        and all(.packages[]; (.SPDXID | test("^SPDXRef-[A-Za-z0-9.-]+$")) and (.name | length > 0)
            and (.downloadLocation | length > 0) and (.filesAnalyzed | type == "boolean"))
        and all(.files[]; (.SPDXID | test("^SPDXRef-[A-Za-z0-9.-]+$")) and (.fileName | length > 0)
            and any(.checksums[]; .algorithm == "SHA1" and (.checksumValue | test("^[0-9a-f]{40}$"))))
        and ($ids | length == (unique | length))
        and all(.relationships[]; [.spdxElementId, .relatedSpdxElement] - $ids == [])' "$1" >/dev/null ||
        echo "a required field is missing, an id is not unique or a relationship's element does not exist"
    jq -r '(.files | map({(.SPDXID): (.checksums[] | select(.algorithm == "SHA1") | .checksumValue)}) | add) as $sha1
        | .packages[] | select(.filesAnalyzed) | .packageVerificationCode.packageVerificationCodeValue
        + " " + ([$sha1[.hasFiles[]]] | sort | add)' "$1" | while read -r code sums; do
        [ "$(printf %s "$sums" | sha1sum | cut -c1-40)" = "$code" ] || echo "verification code $code is not its files'"
    done
}
# The Tirvalo package's files are the zip's, with their SHA-1s.
diff <(jq -r '.files[] | (.checksums[] | select(.algorithm == "SHA1") | .checksumValue) + "  " + .fileName' "$spdx" |
       sort) <(cd shipped && sha1sum ./* | sort) >/dev/null || fail "$spdx does not list the zip's files and SHA-1s"
# Two documents of the unsigned DLL, the second one as if every file linked
# and every tool came from one Debian package: one element, both relationships.
package_release "$TIRVALO_BUILD_DIR" "$work/unsigned" &&
    ( debian_packages() { local file; for file; do echo "$file $deb $debversion all"; done; }
      package_release "$TIRVALO_BUILD_DIR" "$work/merged" ) || fail "cannot pack the unsigned releases"
jq -e --arg deb "$deb" '[.packages[] | select(.name == $deb).SPDXID] as $id | ($id | length == 1)
    and ([.relationships[] | select(.spdxElementId == $id[0] or .relatedSpdxElement == $id[0]).relationshipType]
         | sort == ["BUILD_TOOL_OF", "STATIC_LINK"])' "merged/$name.spdx.json" >/dev/null ||
    fail "$deb, linked in and a build tool, is not one package with both relationships"
for document in "$spdx" "unsigned/$name.spdx.json" "merged/$name.spdx.json"; do
    problems=$(spdx_problems "$document") && [ -z "$problems" ] || fail "$document: $problems"
done
namespace() { jq -r .documentNamespace "$1/$name.spdx.json"; }
[ "$(namespace dist)" = "$(namespace again/dist)" ] || fail "two releases of one commit have two namespaces"
[ "$(namespace unsigned)" != "$(namespace merged)" ] || fail "two documents of one DLL share the namespace $(namespace merged)"

[ $failures = 0 ] && echo "signed release $name ($sha256) and its bill of materials checked"
exit $((failures > 0))
