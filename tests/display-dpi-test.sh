#!/bin/bash
# The information window and the help's box in the display's own DPI.  In a
# copy of the lane's Wine prefix whose display has 192 DPI (the user's
# setting, which the desktop reads when the Wine server starts), the
# window reports 192 DPI and a client area about twice as wide as in the
# lane's own prefix at 96 DPI.  A thread unaware of DPI gets 96 DPI there,
# and the system a bitmap to stretch; some Wines give every window the
# display's DPI whatever its thread, and there this check cannot fail.
set -u
. "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"
wine_environment
lane=$WINEPREFIX
prefix=$TIRVALO_BUILD_DIR/wineprefix-dpi192
failures=0

# Made once: the lane's prefix linked, not copied (Wine writes none of its
# files in place; the registry it replaces), and its display at 192 DPI.
if [ ! -f "$prefix/.tirvalo-dpi192" ]; then
    rm -rf "$prefix" && cp -al "$lane" "$prefix" &&
        for file in "$prefix"/*.reg; do cp --remove-destination "$lane/${file##*/}" "$file" || exit 1; done &&
        WINEPREFIX=$prefix timeout 60 wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
            /d 192 /f </dev/null >/dev/null 2>&1 &&
        WINEPREFIX=$prefix wineserver -k </dev/null >/dev/null 2>&1
    touch "$prefix/.tirvalo-dpi192" || { echo "FAIL: cannot prepare $prefix"; exit 1; }
fi
trap 'WINEPREFIX=$prefix wineserver -k </dev/null >/dev/null 2>&1' EXIT
WINEPREFIX=$prefix start_wine_apart -p

# "DPI N, client area W x H" of the window COMMAND opens, in PREFIX.
metrics() {
    WINEPREFIX=$1 noloadmsg=1 timeout 60 wine "$TIRVALO_BUILD_DIR/bin/korrash.exe" --dump-windows \
        --window-metrics -c "$2" </dev/null 2>/dev/null | tr -d '\r' | grep '^DPI '
}
check() {   # check WHAT 96-DPI-METRICS 192-DPI-METRICS
    local width96 width192
    read -r _ dpi96 _ _ width96 _ <<<"${2//,/ }"
    read -r _ dpi192 _ _ width192 _ <<<"${3//,/ }"
    if [ "${dpi96:-}" != 96 ] || [ "${dpi192:-}" != 192 ] ||
        ! awk -v a="${width96:-0}" -v b="${width192:-0}" 'BEGIN { exit !(a > 0 && b >= 1.8 * a && b <= 2.3 * a) }'; then
        echo "FAIL: $1 at 96 and at 192 DPI: \"$2\" and \"$3\" (192 DPI, about twice as wide, expected)"
        failures=$((failures + 1))
    fi
}
file=$(windows_path "$TIRVALO_BUILD_DIR/bin/Tirvalo.dll")
check "the information window" "$(metrics "$lane" "tirvalo /f:$file")" "$(metrics "$prefix" "tirvalo /f:$file")"
check "the help's box" "$(metrics "$lane" "help tirvalo")" "$(metrics "$prefix" "help tirvalo")"
[ $failures = 0 ] && echo "the window and the help's box at 192 DPI: 192 DPI, about twice as wide as at 96"
exit $((failures > 0))
