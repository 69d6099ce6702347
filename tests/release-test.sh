#!/bin/bash
# The release as a user downloads it, packed from the build that every test
# ran against: the two zips hold exactly their files, the DLL is that build's
# byte for byte (unsigned: release-signing-test.sh checks a signed one),
# SHA256SUMS checks the zips and the bill of materials, the version in the
# names is the version resource's, README.txt is CRLF text that repeats the
# DLL's own help, and the PDB matches the DLL and resolves addresses in key
# and tirvalo to their functions, source files and lines.  A packing that
# fails midway leaves the folder it packs into as it was.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/lib.sh"
wine_environment
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
bin=$TIRVALO_BUILD_DIR/bin

# Outside a git checkout any time will do for the zips' entries.
git -C "$root" log -1 >/dev/null 2>&1 || export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-1796731897}
package_release "$TIRVALO_BUILD_DIR" "$work/dist" || { echo "FAIL: cannot pack the release"; exit 1; }
version=$(strings -a -el "$bin/Tirvalo.dll" | grep -A1 -x FileVersion | tail -1)
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "no FileVersion text in the DLL: '$version'"
name=Tirvalo-$version-x64
zips=$(cd "$work/dist" && ls)
[ "$zips" = "$(printf '%s\n' SHA256SUMS "$name-symbols.zip" "$name.spdx.json" "$name.zip")" ] ||
    fail "dist holds: $(echo $zips), not the files of version $version"

# A packing that fails midway (the symbols' zip cannot be written) leaves
# dist/ as it was: the same files, none replaced, nothing added.
listing() { ls -Ail --time-style=+%s.%N "$work/dist"; }
before=$(listing)
( zip() { [[ $* != *-symbols.zip* ]] && command zip "$@"; }
  package_release "$TIRVALO_BUILD_DIR" "$work/dist" ) 2>/dev/null && fail "a packing whose zip fails succeeds"
[ "$(listing)" = "$before" ] || fail "a failed packing changed dist/ to: $(listing)"

# The zips' entries, in order, and the DLL that was tested.
[ "$(zipinfo -1 "$work/dist/$name.zip" 2>&1)" = $'Tirvalo.dll\nREADME.txt' ] ||
    fail "$name.zip holds: $(zipinfo -1 "$work/dist/$name.zip" 2>&1 | tr '\n' ' ')"
[ "$(zipinfo -1 "$work/dist/$name-symbols.zip" 2>&1)" = Tirvalo.pdb ] ||
    fail "$name-symbols.zip holds: $(zipinfo -1 "$work/dist/$name-symbols.zip" 2>&1 | tr '\n' ' ')"
(cd "$work/dist" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not check"
mkdir "$work/unpacked"
unzip -q "$work/dist/$name.zip" -d "$work/unpacked" &&
    unzip -q "$work/dist/$name-symbols.zip" -d "$work/unpacked" || fail "cannot unpack the zips"
cmp -s "$work/unpacked/Tirvalo.dll" "$bin/Tirvalo.dll" || fail "the zip's DLL is not the tested one"

# README.txt: CRLF line ends only, the version filled in, and the DLL's help
# text, its facts about the hotkey, the minimum shell and the registry.
readme=$work/unpacked/README.txt
[ "$(grep -c $'\r$' "$readme")" = "$(wc -l <"$readme")" ] || fail "README.txt has lines without CRLF"
grep -q '@' "$readme" && fail "README.txt keeps a placeholder: $(grep '@' "$readme" | head -1)"
grep -qF "$name.zip" "$readme" || fail "README.txt does not name $name.zip"
sed 's/[[:space:]]*$//' "$readme" >"$work/readme.lines"
noloadmsg=1 wine "$bin/korrash.exe" -c "tirvalo /?" -c "tirvalo" >"$work/help" 2>&1
help_lines=0
while IFS= read -r line; do
    line=${line%$'\r'}
    line=${line%"${line##*[![:space:]]}"}
    [ -n "$line" ] || continue
    help_lines=$((help_lines + 1))
    grep -qxF -- "$line" "$work/readme.lines" || fail "README.txt lacks the help line '$line'"
done < <(sed -n '1,/current setting will be shown/p' "$work/help")
[ $help_lines -ge 10 ] || fail "too little help text ($help_lines lines): $(head -3 "$work/help")"
hotkey=$(sed -n 's/^Tirvalo hotkey is \(.*\)\.\r*$/\1/p' "$work/help")
[ -n "$hotkey" ] && grep -qF "hotkey, $hotkey unless" "$readme" || fail "README.txt does not give the hotkey '$hotkey'"
old=$(noloadmsg=1 wine "$bin/korrash.exe" --host-version 11.00 --host-build 47 -c "rem" 2>&1)
[[ $old =~ v([0-9]+\.[0-9]+)\.([0-9]+)\ or\ higher ]] &&
    grep -qF "version ${BASH_REMATCH[1]} build ${BASH_REMATCH[2]} or later" "$readme" ||
    fail "README.txt does not give the oldest shell of: $old"
grep -qF 'HKEY_CURRENT_USER\Software\VelmPlugins\Tirvalo' "$readme" || fail "README.txt names no registry key"

# The PDB: its GUID and age are those the DLL's debug directory asks for.
# The DLL's CodeView record is read from its bytes ("RSDS", the GUID, the
# age, the PDB's name), the PDB's from its stream as YAML: forms that stay
# the same from one LLVM release to the next.
stream=$(llvm-pdbutil pdb2yaml -pdb-stream "$work/unpacked/Tirvalo.pdb" 2>&1) || fail "llvm-pdbutil cannot read the PDB"
pdb_guid=$(echo "$stream" | sed -n "s/^ *Guid: *'{\(.*\)}'\$/\1/p")
pdb_age=$(echo "$stream" | sed -n 's/^ *Age: *//p')
record=$(llvm-readobj --coff-debug-directory "$bin/Tirvalo.dll" |
         awk '/Type: CodeView/ { on = 1 } on && /PointerToRawData:/ { print $2; exit }')
read -r -a bytes < <(od -An -tx1 -v -j $((record + 4)) -N 16 "$bin/Tirvalo.dll" | tr a-f A-F)
dll_guid=${bytes[3]}${bytes[2]}${bytes[1]}${bytes[0]}-${bytes[5]}${bytes[4]}-${bytes[7]}${bytes[6]}
dll_guid+=-${bytes[8]}${bytes[9]}-$(IFS=; echo "${bytes[*]:10}")
[ -n "$record" ] && [ "$(od -An -c -j "$record" -N 4 "$bin/Tirvalo.dll" | tr -d ' ')" = RSDS ] ||
    fail "no CodeView record in the DLL's debug directory"
[ ${#bytes[@]} = 16 ] && [ "$pdb_guid" = "$dll_guid" ] || fail "PDB GUID $pdb_guid, the DLL asks for $dll_guid"
[ -n "$pdb_age" ] && [ "$(od -An -tu4 -j $((record + 20)) -N 4 "$bin/Tirvalo.dll" | tr -d ' ')" = "$pdb_age" ] ||
    fail "PDB age $pdb_age differs"
[ "$(dd if="$bin/Tirvalo.dll" bs=1 skip=$((record + 24)) count=12 2>/dev/null | tr -d '\0')" = Tirvalo.pdb ] ||
    fail "the DLL names its PDB otherwise"

# An address a little inside each of two entry points, symbolised with the
# PDB beside the DLL, as a debugger loads it.
for entry in key:entry/keystroke.cpp tirvalo:command/tirvalo.cpp; do
    function=${entry%%:*} file=${entry#*:}
    rva=$(llvm-readobj --coff-exports "$bin/Tirvalo.dll" | grep -A1 -x "  Name: $function" | awk '/RVA:/ { print $2 }')
    where=$(cd "$work/unpacked" && llvm-symbolizer --obj=Tirvalo.dll --relative-address "$(printf '0x%x' $((rva + 4)))")
    [ "$(echo "$where" | sed -n 1p)" = "$function" ] || fail "$function+4 resolves to: $where"
    [[ $(echo "$where" | sed -n 2p) =~ ^C:\\tirvalo\\${file//\//\\\\}:[1-9][0-9]*: ]] ||
        fail "$function+4 has no line of $file: $where"
done

[ $failures = 0 ] && echo "release $name: zips, sums, README.txt and PDB checked"
exit $((failures > 0))
