#!/bin/bash
# The DLL and the stand-in shell built with clang (build/clang-mingw) behave
# as those built with GCC: the same commands, keystrokes and information
# windows give the same output, byte for byte.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/lib.sh"
wine_environment
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export noloadmsg=1

for variant in gcc clang; do
    bin="$TIRVALO_BUILD_DIR/bin"
    [ $variant = clang ] && bin="$TIRVALO_BUILD_DIR/clang-mingw/bin"
    if [ ! -f "$bin/korrash.exe" ] || [ ! -f "$bin/Tirvalo.dll" ]; then
        echo "missing $bin/korrash.exe or $bin/Tirvalo.dll" >&2
        exit 1
    fi
    wine "$bin/korrash.exe" --dump-windows \
        -c "keystroke 17 20 list C:\\windows\\system32" -c "keystroke 17 5 list" \
        -c "tirvalo" -c "tirvalo ctrl-alt-shift-f1 /t:utc /c:0" -c "tirvalo /l" -c "tirvalo /??" \
        -c "tirvalo /x" -c "tirvalo /f:C:\\windows\\win.ini /f:C:\\windows" -c "usage tirvalo" \
        >"$work/$variant.out" 2>"$work/$variant.err"
    echo "status $?" >>"$work/$variant.out"
done
if ! cmp -s "$work/gcc.out" "$work/clang.out" || ! cmp -s "$work/gcc.err" "$work/clang.err"; then
    echo "The clang build differs from the GCC build:"
    diff "$work/gcc.out" "$work/clang.out" | head -20
    diff "$work/gcc.err" "$work/clang.err" | head -20
    exit 1
fi
lines=$(wc -l <"$work/gcc.out")
[ "$lines" -gt 100 ] || { echo "too little output ($lines lines)"; cat "$work/gcc.out"; exit 1; }
grep -q "SYSTEM32 — Tirvalo 1.4.0" "$work/gcc.out" || { echo "no window for the keystroke"; exit 1; }
echo "clang build: $lines lines of output, the same as the GCC build's"
