/*
** The platform's character classification for the text helpers (text.h),
** where the text routines are built natively for sanitizers and fuzzers:
** the table of chartype_table.cpp.
*/
#include "chartype_table.h"
#include "frame/text.h"

int PlatformCharClass(wchar_t unit)
{
    return TableCharClass(unit);
}
