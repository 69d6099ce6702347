#!/bin/bash
# Static analysis of the product's and the stand-in host's sources, for the
# Windows target; any finding fails.
#   tests/static-analysis.sh cppcheck
#   tests/static-analysis.sh clang-tidy
#
# The checks chosen: cppcheck's warning, portability and performance
# classes; clang-tidy's static analyser, bugprone, performance and
# portability families and two misc checks.  Left out, each for a reason:
# bugprone-easily-swappable-parameters (the routines take the platform's
# parameter orders), performance-no-int-to-ptr (the platform passes
# pointers in integer message parameters), performance-enum-size (clang-tidy
# 19's: it asks every enumeration for the smallest base type, and nearly all
# of ours are unnamed enumerations of constants, of which no object is
# made), the analyser's optional padding check (tables keep the order that
# reads best).
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root" || exit 1
sources=$(ls frame/*.cpp hotkeys/*.cpp settings/*.cpp dialog/*.cpp fileinfo/*.cpp command/*.cpp entry/*.cpp host/*.cpp)

case "${1:-}" in
cppcheck)
    command -v cppcheck >/dev/null || { echo "cppcheck is not installed" >&2; exit 1; }
    # Every branch analysed: a cppcheck that limits its analysis by default
    # (2.11 and later) says so as a finding.
    level=()
    cppcheck --help | grep -q -- --check-level && level=(--check-level=exhaustive)
    # shellcheck disable=SC2086
    cppcheck --enable=warning,portability,performance --std=c++17 --language=c++ \
        --platform=win64 --library=windows -D_WIN64 -DUNICODE -D_UNICODE -I. "${level[@]}" \
        --inline-suppr --error-exitcode=1 --quiet $sources || exit 1
    echo "cppcheck: $(echo "$sources" | wc -l) files, no findings"
    ;;
clang-tidy)
    command -v clang-tidy >/dev/null || { echo "clang-tidy is not installed" >&2; exit 1; }
    gcc_dir=$(ls -d /usr/lib/gcc/x86_64-w64-mingw32/*-posix | head -1)
    checks='-*,clang-analyzer-*,bugprone-*,-bugprone-easily-swappable-parameters,performance-*,-performance-no-int-to-ptr,-performance-enum-size,portability-*,misc-redundant-expression,misc-misplaced-const,-clang-analyzer-optin.performance.Padding'
    log=$(mktemp)
    trap 'rm -f "$log"' EXIT
    # Two files at a time.
    echo "$sources" | xargs -P 2 -I{} clang-tidy --quiet --checks="$checks" --warnings-as-errors='*' \
        --header-filter="^$root/(frame|hotkeys|settings|dialog|fileinfo|command|entry|host)/" {} -- \
        --target=x86_64-w64-mingw32 -std=c++17 -fno-exceptions -fno-rtti -DUNICODE -I. \
        -isystem "$gcc_dir/include/c++" -isystem "$gcc_dir/include/c++/x86_64-w64-mingw32" >"$log" 2>&1
    status=$?
    if [ $status -ne 0 ] || grep -q 'warning:\|error:' "$log"; then
        grep -v 'warnings generated\|^Suppressed\|^Use -header-filter' "$log" | head -60
        exit 1
    fi
    echo "clang-tidy: $(echo "$sources" | wc -l) files, no findings"
    ;;
*)
    echo "usage: tests/static-analysis.sh cppcheck|clang-tidy" >&2
    exit 2
    ;;
esac
