#!/bin/bash
# The DLL built with GCC (build/gcc-mingw) behaves as the one built with
# clang that ships: loaded by the same stand-in shell, the same commands,
# keystrokes and information windows give the same output, byte for byte.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/lib.sh"
wine_environment
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export noloadmsg=1
shell=$TIRVALO_BUILD_DIR/bin/korrash.exe

for variant in clang gcc; do
    dll=$TIRVALO_BUILD_DIR/bin/Tirvalo.dll
    [ $variant = gcc ] && dll=$TIRVALO_BUILD_DIR/gcc-mingw/bin/Tirvalo.dll
    if [ ! -f "$shell" ] || [ ! -f "$dll" ]; then
        echo "missing $shell or $dll" >&2
        exit 1
    fi
    wine "$shell" --plugin "$(windows_path "$dll")" --dump-windows \
        -c "keystroke 17 20 list C:\\windows\\system32" -c "keystroke 17 5 list" \
        -c "tirvalo" -c "tirvalo ctrl-alt-shift-f1 /t:utc /c:0" -c "tirvalo /l" -c "tirvalo /??" \
        -c "tirvalo /x" -c "tirvalo /f:C:\\windows\\win.ini /f:C:\\windows" -c "usage tirvalo" \
        >"$work/$variant.out" 2>"$work/$variant.err"
    echo "status $?" >>"$work/$variant.out"
done
if ! cmp -s "$work/clang.out" "$work/gcc.out" || ! cmp -s "$work/clang.err" "$work/gcc.err"; then
    echo "The GCC build differs from the clang build:"
    diff "$work/clang.out" "$work/gcc.out" | head -20
    diff "$work/clang.err" "$work/gcc.err" | head -20
    exit 1
fi
lines=$(wc -l <"$work/clang.out")
[ "$lines" -gt 100 ] || { echo "too little output ($lines lines)"; cat "$work/clang.out"; exit 1; }
grep -q "SYSTEM32 — Tirvalo 1.4.0" "$work/clang.out" || { echo "no window for the keystroke"; exit 1; }
echo "GCC build: $lines lines of output, the same as the clang build's"
