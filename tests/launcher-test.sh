#!/bin/bash
# The launcher, scripts/korrash, as a user runs it from Linux: commands in
# order, the last command's status as its own, the two streams kept apart,
# a batch file and a screenshot named by their Linux paths.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
export noloadmsg=1   # the plug-in's load message is not what these checks are about

check() {   # check DESCRIPTION EXPECTED ACTUAL
    if [ "$2" != "$3" ]; then
        echo "FAIL: $1"
        echo "  expected: $(printf '%q' "$2")"
        echo "  actual:   $(printf '%q' "$3")"
        failures=$((failures + 1))
    fi
}

"$root/scripts/korrash" --host-version 23.01 --host-build 99 -c "echo %_4ver %_build" -c "exit 7" \
    >"$work/out" 2>"$work/err"
check "status of the last command" 7 $?
check "standard output" $'23.01 99\r' "$(cat "$work/out")"
check "standard error" "" "$(cat "$work/err")"

"$root/scripts/korrash" -c "nosuchcommand" >"$work/out" 2>"$work/err"
check "unknown command status" 1 $?
check "nothing on standard output" "" "$(cat "$work/out")"
check "error on standard error" $'Unknown command "nosuchcommand"\r' "$(cat "$work/err")"

printf 'echo line %%_batchline in %%_batchname\r\nusage tirvalo\r\n' >"$work/my batch.btm"
"$root/scripts/korrash" "$work/my batch.btm" >"$work/out" 2>"$work/err"
check "batch file status" 0 $?
expected_name="Z:$(echo "$work/my batch.btm" | tr / '\\')"
check "batch file line" "line 1 in $expected_name"$'\r' "$(head -n 1 "$work/out")"
check "usage from the batch file" "TIRVALO [/S /R /L /T:x /C:x] [hotkey] "$'\r' "$(sed -n 2p "$work/out")"

"$root/scripts/korrash" --dump-windows --screenshot "$work/help.png" -c "help tirvalo" \
    >"$work/out" 2>"$work/err"
check "window switches status" 0 $?
check "dumped caption" $'Tirvalo\r' "$(head -n 1 "$work/out")"
check "screenshot by its Linux path" PNG "$(head -c 4 "$work/help.png" | tail -c 3)"

"$root/scripts/korrash" --stack-use -c "echo x" >"$work/out" 2>"$work/err"
check "stack use status" 0 $?
check "stack use reported" "korrash: stack used N of 1048576 bytes" \
    "$(sed -E 's/used [0-9]+ of/used N of/; s/\r$//' "$work/err")"

"$root/scripts/korrash" --bogus >"$work/out" 2>"$work/err"
check "unknown switch status" 2 $?

# A prefix not yet prepared while Wine's server stays running in it (a Wine
# program left open): the launcher prepares the prefix and runs, without
# waiting for the server to end.  (A copy of this lane's, for speed.)
. "$root/scripts/lib.sh"
wine_environment
fresh=$work/fresh-prefix
cp -a "$WINEPREFIX" "$fresh" && rm -f "$fresh/.tirvalo-ready"
(unset CTEST_RESOURCE_GROUP_0_WINE; export WINEPREFIX=$fresh WINEDEBUG=-all
 wineserver -p </dev/null >/dev/null 2>&1
 timeout 150 "$root/scripts/korrash" -c "echo prepared" >"$work/out" 2>"$work/err"
 echo "status $?" >>"$work/out"
 wineserver -k </dev/null >/dev/null 2>&1)
check "a prefix prepared beside a running server" $'prepared\r\nstatus 0' "$(cat "$work/out")"

[ $failures = 0 ] && echo "launcher: all checks passed"
exit $((failures > 0))
