#!/bin/bash
# The builds that only the test command makes, run as CTest tests so that
# they overlap the tests that wait on windows:
#   tests/build-step.sh native | gcc | bench
. "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"
case "${1:-}" in
native) build_native ;;
gcc) build_second_compiler ;;
bench) build_all tirvalo_bench ;;
*) echo "usage: tests/build-step.sh native | gcc | bench" >&2; exit 2 ;;
esac
