/*
** The platform's character classification for the text helpers (text.h),
** on Windows: character type 1 of GetStringTypeW.
*/
#include <windows.h>
#include "text.h"

int PlatformCharClass(wchar_t unit)
{
    WORD type = 0;
    int result = 0;
    if (!GetStringTypeW(CT_CTYPE1, &unit, 1, &type)) return 0;
    if (type & C1_SPACE) result |= CHAR_CLASS_SPACE;
    if (type & (C1_ALPHA | C1_UPPER | C1_LOWER)) result |= CHAR_CLASS_LETTER;
    return result;
}
