/*
** Bounded UTF-16 text helpers.  See text.h.
*/
#include "text.h"

int TextLength(const wchar_t *text)
{
    int length = 0;
    if (text == 0) return 0;
    while (text[length] != 0) length++;
    return length;
}

int TextCopyUnits(wchar_t *buffer, int capacity, const wchar_t *text, int count)
{
    int n = 0;
    if (buffer == 0 || capacity < 1) return TEXT_NO_ROOM;
    if (text != 0) {
        while (n < count && text[n] != 0 && n < capacity - 1) {
            buffer[n] = text[n];
            n++;
        }
    }
    buffer[n] = 0;
    if (text != 0 && n < count && text[n] != 0) return TEXT_CUT;
    return TEXT_OK;
}

int TextCopy(wchar_t *buffer, int capacity, const wchar_t *text)
{
    return TextCopyUnits(buffer, capacity, text, 0x7FFFFFFF);
}

int TextAppend(wchar_t *buffer, int capacity, const wchar_t *text)
{
    int length;
    if (buffer == 0 || capacity < 1) return TEXT_NO_ROOM;
    length = 0;
    while (length < capacity - 1 && buffer[length] != 0) length++;
    if (buffer[length] != 0) {
        /* Not terminated within its capacity: terminate it, cut. */
        buffer[length] = 0;
        return TEXT_CUT;
    }
    return TextCopy(buffer + length, capacity - length, text);
}

int TextPutUnit(wchar_t *buffer, int capacity, int *length, wchar_t unit)
{
    if (buffer == 0 || capacity < 1 || length == 0) return TEXT_NO_ROOM;
    if (*length < 0 || *length >= capacity - 1) return TEXT_CUT;
    buffer[*length] = unit;
    *length += 1;
    buffer[*length] = 0;
    return TEXT_OK;
}

int TextAppendUnit(wchar_t *buffer, int capacity, wchar_t unit)
{
    wchar_t piece[2];
    piece[0] = unit;
    piece[1] = 0;
    return TextAppend(buffer, capacity, piece);
}

wchar_t UpperAscii(wchar_t unit)
{
    if (unit >= L'a' && unit <= L'z') return (wchar_t)(unit - 0x20);
    return unit;
}

void TextUpperAscii(wchar_t *text)
{
    if (text == 0) return;
    for (; *text != 0; text++) *text = UpperAscii(*text);
}

int TextEqualNoCaseN(const wchar_t *a, const wchar_t *b, int count)
{
    int i;
    if (a == 0 || b == 0) return a == b;
    for (i = 0; i < count; i++) {
        if (UpperAscii(a[i]) != UpperAscii(b[i])) return 0;
        if (a[i] == 0) return 1;
    }
    return 1;
}

int TextEqualNoCase(const wchar_t *a, const wchar_t *b)
{
    return TextEqualNoCaseN(a, b, 0x7FFFFFFF);
}

int TextEqualNoCaseSpan(const wchar_t *span, int length, const wchar_t *text)
{
    int i;
    if (span == 0 || text == 0 || length < 0) return 0;
    for (i = 0; i < length; i++) {
        if (text[i] == 0 || UpperAscii(span[i]) != UpperAscii(text[i])) return 0;
    }
    return text[length] == 0;
}

int TextFindUnit(const wchar_t *text, wchar_t unit)
{
    int i;
    if (text == 0) return -1;
    for (i = 0; text[i] != 0; i++) {
        if (text[i] == unit) return i;
    }
    return -1;
}

int TextFindLastUnit(const wchar_t *text, wchar_t unit)
{
    int i, found = -1;
    if (text == 0) return -1;
    for (i = 0; text[i] != 0; i++) {
        if (text[i] == unit) found = i;
    }
    return found;
}

int TextFind(const wchar_t *text, const wchar_t *needle)
{
    int i, j;
    if (text == 0 || needle == 0) return -1;
    for (i = 0;; i++) {
        for (j = 0; needle[j] != 0 && text[i + j] == needle[j]; j++) {
        }
        if (needle[j] == 0) return i;
        if (text[i] == 0) return -1;
    }
}

int TextToLong(const wchar_t *text, const wchar_t **stop, int *outOfRange)
{
    const wchar_t *p = text;
    const long long limit = 2147483647LL;
    long long value = 0;
    int negative = 0, clamped = 0, digits = 0;

    if (outOfRange != 0) *outOfRange = 0;
    if (text == 0) {
        if (stop != 0) *stop = text;
        return 0;
    }
    while (IsWhiteSpace(*p)) p++;
    if (*p == L'+' || *p == L'-') {
        negative = (*p == L'-');
        p++;
    }
    while (*p >= L'0' && *p <= L'9') {
        if (!clamped) {
            value = value * 10 + (*p - L'0');
            if (value > limit + negative) clamped = 1;
        }
        digits++;
        p++;
    }
    if (digits == 0) {
        if (stop != 0) *stop = text;
        return 0;
    }
    if (stop != 0) *stop = p;
    if (clamped) {
        if (outOfRange != 0) *outOfRange = 1;
        return negative ? (int)(-limit - 1) : (int)limit;
    }
    return (int)(negative ? -value : value);
}

int IsWhiteSpace(wchar_t unit)
{
    if ((unit >= 0x09 && unit <= 0x0D) || unit == 0x20 || unit == 0xA0) return 1;
    if (unit > 0xFF) return (PlatformCharClass(unit) & CHAR_CLASS_SPACE) != 0;
    return 0;
}

int IsLetter(wchar_t unit)
{
    if ((unit >= L'A' && unit <= L'Z') || (unit >= L'a' && unit <= L'z')) return 1;
    if (unit >= 0xC0 && unit <= 0xFF) return unit != 0xD7 && unit != 0xF7;
    if (unit > 0xFF) return (PlatformCharClass(unit) & CHAR_CLASS_LETTER) != 0;
    return 0;
}
