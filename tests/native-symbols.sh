#!/bin/bash
# The native build of the text routines uses nothing of the C library or the
# C++ library: every symbol its objects need is one of their own, the
# sanitizers' runtime, or one of the few host and platform routines that the
# native stand-in (native/shim) provides.  So no wide-string function of the
# C library, whose wchar_t is 32-bit there, can touch a 16-bit text.
#   tests/native-symbols.sh LIBRARY
set -u
library=$1
allowed='^(ExpandVariables|Printf|QPuts|Qprintf|honk|PlatformCharClass|WriteErrorMessage|ShowFileInfo|LoadSettings|SaveSettings|Settings|PluginName)$'

[ -f "$library" ] || { echo "missing $library" >&2; exit 1; }
defined=$(nm --defined-only -C "$library" | awk 'NF >= 3 { $1 = ""; $2 = ""; sub(/^  /, ""); print }' | sed 's/(.*//' | sort -u)
needed=$(nm -u -C "$library" | awk '$1 == "U" { $1 = ""; sub(/^ /, ""); print }' | sed 's/(.*//' | sort -u)
foreign=$(comm -23 <(echo "$needed") <(echo "$defined") |
          grep -Ev '^(__asan|__ubsan|__sanitizer|__odr_asan|vtable for __cxxabiv1::)' |
          grep -Ev "$allowed")
if [ -n "$foreign" ]; then
    echo "The native text routines use symbols from outside:" >&2
    echo "$foreign" >&2
    exit 1
fi
echo "$(echo "$needed" | wc -l) symbols needed, none from the C or C++ library"
