#!/bin/bash
# Reads the Tirvalo.dll that ships: the exports are exactly the entry
# points, by their undecorated names; the imports come from Windows known
# DLLs and Korrash.dll only, and from Korrash.dll only the host's nine
# functions.  The image asks for ASLR (64-bit) and DEP, has no section both
# writable and executable, no debug information and no path of the folder it
# was built in.  The keystroke handler, which runs for every keystroke, keeps
# a small frame: no stack probe, under 512 bytes.
set -u
dll=${1:?usage: check-dll.sh Tirvalo.dll [SOURCE_DIR BUILD_DIR]}
dump=$(x86_64-w64-mingw32-objdump -p "$dll") || { echo "FAIL: cannot read $dll"; exit 1; }
status=0

headers=$(llvm-readobj --file-headers "$dll") || { echo "FAIL: llvm-readobj cannot read $dll"; exit 1; }
for flag in DYNAMIC_BASE HIGH_ENTROPY_VA NX_COMPAT; do
    echo "$headers" | grep -q "IMAGE_DLL_CHARACTERISTICS_$flag " ||
        { echo "FAIL: $flag not set"; status=1; }
done
# Each section as "name flags", its flags the characteristics in hex.
sections=$(llvm-readobj --sections "$dll" | awk '
    /^ *Name: / { name = $2 } /^ *Characteristics \[/ { gsub(/[()]/, "", $3); print name, $3 }')
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

exports=$(echo "$dump" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed 1d |
    awk 'NF { print $NF }' | sort)
expected=$(printf '%s\n' GetPluginInfo Help InitializePlugin ShutdownPlugin Usage key tirvalo | sort)
if [ "$exports" != "$expected" ]; then
    echo "FAIL: exports differ"; diff <(echo "$expected") <(echo "$exports"); status=1
fi

# Known DLLs of the system only: version.dll is none, so a copy planted in
# the shell's folder would come with an import; the plug-in loads it from
# System32 itself.
system_dlls='^(kernel32|user32|gdi32|advapi32|shell32|shlwapi|msvcrt|ole32|comctl32|api-ms-win-.*)\.dll$'
for name in $(echo "$dump" | awk '/DLL Name:/ { print $3 }'); do
    lower=$(echo "$name" | tr 'A-Z' 'a-z')
    if [ "$name" = Korrash.dll ]; then continue; fi
    if ! [[ $lower =~ $system_dlls ]]; then
        echo "FAIL: imports from $name"; status=1
    fi
done

host_functions=$(echo "$dump" | awk '/DLL Name: Korrash.dll/ { on = 1; next }
    /DLL Name:/ { on = 0 } on && NF == 3 && $1 ~ /^[0-9a-f]+$/ { print $3 }' | sort)
allowed=$(printf '%s\n' ExpandVariables Printf QPuts Qprintf honk QueryTrueName QueryIsFile \
    QueryIsDirectory QueryIsFileOrDirectory | sort)
extra=$(comm -23 <(echo "$host_functions") <(echo "$allowed"))
if [ -n "$extra" ]; then echo "FAIL: imports from Korrash.dll beyond the nine: $extra"; status=1; fi
if [ -z "$host_functions" ]; then echo "FAIL: nothing imported from Korrash.dll"; status=1; fi

# The handler's prologue, up to the instruction that makes its frame: a
# frame of a page or more is made by a probe (a call, then "subq %rax, %rsp").
prologue=$(llvm-objdump -d --no-show-raw-insn --disassemble-symbols=key "$dll" |
    awk '/^[0-9a-f]+ <key>:/ { on = 1; next } on && NF { print; if (++n == 16) exit } on && /subq[[:space:]].*%rsp/ { exit }')
frame=$(echo "$prologue" | sed -n 's/.*subq[[:space:]]*\$\([0-9]*\), %rsp.*/\1/p')
if [ -z "$prologue" ]; then
    echo "FAIL: cannot disassemble key"; status=1
elif echo "$prologue" | grep -q -e callq -e 'subq.*%rax, %rsp' || [ "${frame:-0}" -ge 512 ]; then
    echo "FAIL: key takes a large or probed frame:"; echo "$prologue"; status=1
fi

[ $status = 0 ] && echo "key's frame: ${frame:-0} bytes; exports: $(echo $exports); imports:" $(echo "$dump" | awk '/DLL Name:/ { print $3 }')
exit $status
