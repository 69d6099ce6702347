#!/bin/bash
# Reads the Tirvalo.dll that ships: the exports are exactly the entry
# points, by their undecorated names; the imports come from Windows known
# DLLs and Korrash.dll only, and from Korrash.dll only the host's nine
# functions.  The image asks for ASLR (64-bit) and DEP, is marked compatible
# with the shadow stack (CET), has no section both writable and executable,
# no debug information and no path of the folder it was built in.  The
# keystroke handler, which runs for every keystroke, keeps a small frame:
# under 512 bytes, so no stack probe (one is made for a page or more).
# Everything is read from llvm-readobj's structured dump of the PE tables,
# whose form stays the same from one LLVM release to the next.
set -u
dll=${1:?usage: check-dll.sh Tirvalo.dll [SOURCE_DIR BUILD_DIR]}
status=0

# The system DLLs the plug-in may import from, in lower case (extended
# regular expressions): known DLLs of the system only.  version.dll is none,
# so a copy planted in the shell's folder would come with an import; the
# plug-in loads it from System32 itself.
allowed_system_dlls=(
    kernel32 user32 gdi32 advapi32 shell32 shlwapi msvcrt ole32 comctl32
    'api-ms-win-.*'
)
host_functions_allowed=(ExpandVariables Printf QPuts Qprintf honk QueryTrueName QueryIsFile
                        QueryIsDirectory QueryIsFileOrDirectory)
exports_expected=(GetPluginInfo Help InitializePlugin ShutdownPlugin Usage key tirvalo)

tables=$(llvm-readobj --file-headers --sections --coff-exports --coff-imports --coff-debug-directory \
        --unwind "$dll") ||
    { echo "FAIL: llvm-readobj cannot read $dll"; exit 1; }

# The tables as lines "kind value...": "dll NAME", "import DLL FUNCTION"
# (a function imported by ordinal alone has the name "#ORDINAL"), "export
# NAME RVA", "section NAME FLAGS", "flag NAME" (of the DLL characteristics
# and of the debug directory's extended ones), "imagebase ADDRESS" and
# "unwind START ALLOCATED" (the bytes a function's prologue allocates).
facts=$(awk '
    function hex(text) { gsub(/[^0-9A-Fa-fx]/, "", text); return text }
    /^Import \{|^DelayImport \{/ { block = "import"; dll = ""; next }
    /^Export \{/ { block = "export"; name = ""; next }
    /^  Section \{/ { block = "section"; next }
    /^  RuntimeFunction \{/ { block = "unwind"; allocated = 0; next }
    block == "import" && /^  Name: / { dll = $2; print "dll", dll; next }
    block == "import" && /^  Symbol: / {
        symbol = $0; sub(/^  Symbol: */, "", symbol); sub(/ *\([0-9]+\)$/, "", symbol)
        if (symbol == "") { symbol = $NF; gsub(/[()]/, "", symbol); symbol = "#" symbol }
        print "import", dll, symbol; next }
    block == "export" && /^  Name:/ { name = $2; next }
    block == "export" && /^  RVA: / { print "export", (name == "" ? "-" : name), $2; block = ""; next }
    block == "section" && /^    Name: / { section = $2; next }
    block == "section" && /^    Characteristics \[/ { print "section", section, hex($3); block = ""; next }
    block == "unwind" && /^    StartAddress: / { start = hex($NF); next }
    block == "unwind" && /ALLOC_(SMALL|LARGE) size=/ { split($0, part, "size="); allocated += part[2]; next }
    block == "unwind" && /^  \}/ { print "unwind", start, allocated; block = ""; next }
    /^  ImageBase: / { print "imagebase", $2 }
    /^ +IMAGE_DLL_CHARACTERISTICS_/ { print "flag", $1 }
' <<<"$tables")
field() { awk -v kind="$1" -v n="$2" '$1 == kind { print $n }' <<<"$facts"; }

for flag in DYNAMIC_BASE HIGH_ENTROPY_VA NX_COMPAT EX_CET_COMPAT; do
    field flag 2 | grep -qx "IMAGE_DLL_CHARACTERISTICS_$flag" || { echo "FAIL: $flag not set"; status=1; }
done
sections=$(awk '$1 == "section" { print $2, $3 }' <<<"$facts")
[ -n "$sections" ] || { echo "FAIL: no sections read"; status=1; }
while read -r name flags; do
    (( (flags & 0x80000000) && (flags & 0x20000000) )) &&
        { echo "FAIL: section $name is writable and executable"; status=1; }
    [[ $name == .debug* || $name == /* ]] && { echo "FAIL: debug section $name"; status=1; }
done <<<"$sections"
for folder in "${@:2}"; do
    windows=Z:${folder//\//\\}  # as Wine shows it: Z:\work\...
    if (strings -a "$dll"; strings -a -el "$dll") | grep -qiF -e "$folder" -e "$windows"; then
        echo "FAIL: the DLL names the folder $folder"; status=1
    fi
done

# The exports by name; an export table's unused slots have neither a name
# nor an address.
exports=$(awk '$1 == "export" && !($2 == "-" && $3 == "0x0") { print $2 }' <<<"$facts" | sort)
if [ "$exports" != "$(printf '%s\n' "${exports_expected[@]}" | sort)" ]; then
    echo "FAIL: exports differ"
    diff <(printf '%s\n' "${exports_expected[@]}" | sort) <(echo "$exports"); status=1
fi

dlls=$(field dll 2)
system_dlls="^($(IFS='|'; echo "${allowed_system_dlls[*]}"))\\.dll\$"
for name in $dlls; do
    [ "$name" = Korrash.dll ] && continue
    [[ ${name,,} =~ $system_dlls ]] || { echo "FAIL: imports from $name"; status=1; }
done
host_functions=$(awk '$1 == "import" && $2 == "Korrash.dll" { print $3 }' <<<"$facts" | sort)
extra=$(comm -23 <(echo "$host_functions") <(printf '%s\n' "${host_functions_allowed[@]}" | sort))
if [ -n "$extra" ]; then echo "FAIL: imports from Korrash.dll beyond the nine: $extra"; status=1; fi
if [ -z "$host_functions" ]; then echo "FAIL: nothing imported from Korrash.dll"; status=1; fi

# The handler's frame, from its unwind information (found by its export's
# address): what its prologue allocates below the registers it saves.
base=$(field imagebase 2)
key_rva=$(awk '$1 == "export" && $2 == "key" { print $3 }' <<<"$facts")
frame=
if [ -n "$base" ] && [ -n "$key_rva" ]; then
    frame=$(awk -v start="$(printf '0x%X' $((base + key_rva)))" '$1 == "unwind" && toupper($2) == toupper(start) { print $3 }' \
            <<<"$facts" | sed 's/^0[xX]/0x/')
fi
if [ -z "$frame" ]; then
    echo "FAIL: no unwind information for key"; status=1
elif [ "$frame" -ge 512 ]; then
    echo "FAIL: key takes a frame of $frame bytes"; status=1
fi

[ $status = 0 ] && echo "key's frame: $frame bytes; exports: $(echo $exports); imports:" $dlls
exit $status
