/*
** UTF-16 texts in the native build.  See units.h.
*/
#include <stdlib.h>

#include "units.h"

namespace {

/* The continuation bits of bytes[i], or -1 when it is no continuation byte. */
int Continuation(const unsigned char *bytes, size_t size, size_t i)
{
    if (i >= size || (bytes[i] & 0xC0) != 0x80) return -1;
    return bytes[i] & 0x3F;
}

}  // namespace

int DecodeUnits(const unsigned char *bytes, size_t size, size_t *used, wchar_t *out, int capacity)
{
    size_t i = 0;
    int n = 0;

    while (i < size && bytes[i] != 0) {
        unsigned lead = bytes[i];
        unsigned code = 0xDC00 + lead;   /* a byte that starts nothing valid */
        size_t length = 1;
        int c1 = Continuation(bytes, size, i + 1);
        int c2 = Continuation(bytes, size, i + 2);
        int c3 = Continuation(bytes, size, i + 3);

        if (lead < 0x80) {
            code = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF && c1 >= 0) {
            code = ((lead & 0x1F) << 6) | c1;
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF && c1 >= 0 && c2 >= 0) {
            unsigned value = ((lead & 0x0F) << 12) | (c1 << 6) | c2;
            if (value >= 0x800) {
                code = value;
                length = 3;
            }
        } else if (lead >= 0xF0 && lead <= 0xF4 && c1 >= 0 && c2 >= 0 && c3 >= 0) {
            unsigned value = ((lead & 0x07) << 18) | (c1 << 12) | (c2 << 6) | c3;
            if (value >= 0x10000 && value <= 0x10FFFF) {
                code = value;
                length = 4;
            }
        }
        if (code >= 0x10000) {
            if (n + 2 > capacity - 1) break;
            out[n++] = (wchar_t)(0xD800 + ((code - 0x10000) >> 10));
            out[n++] = (wchar_t)(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            if (n + 1 > capacity - 1) break;
            out[n++] = (wchar_t)code;
        }
        i += length;
    }
    if (capacity > 0) out[n] = 0;
    if (i < size && bytes[i] == 0) i++;
    if (used != 0) *used = i;
    return n;
}

void PrintUnits(FILE *stream, const wchar_t *text, int length)
{
    int i;
    for (i = 0; i < length; i++) {
        unsigned unit = (unsigned short)text[i];
        unsigned next = i + 1 < length ? (unsigned short)text[i + 1] : 0;
        if (unit >= 0xD800 && unit <= 0xDBFF && next >= 0xDC00 && next <= 0xDFFF) {
            unsigned code = 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00);
            fprintf(stream, "%c%c%c%c", 0xF0 | (code >> 18), 0x80 | ((code >> 12) & 0x3F),
                    0x80 | ((code >> 6) & 0x3F), 0x80 | (code & 0x3F));
            i++;
        } else if (unit < 0x20 || unit == 0x7F || (unit >= 0xD800 && unit <= 0xDFFF)) {
            fprintf(stream, "\\u%04X", unit);
        } else if (unit < 0x80) {
            fputc((int)unit, stream);
        } else if (unit < 0x800) {
            fprintf(stream, "%c%c", 0xC0 | (unit >> 6), 0x80 | (unit & 0x3F));
        } else {
            fprintf(stream, "%c%c%c", 0xE0 | (unit >> 12), 0x80 | ((unit >> 6) & 0x3F),
                    0x80 | (unit & 0x3F));
        }
    }
}

int UnitCount(const wchar_t *text)
{
    int n = 0;
    if (text == 0) return 0;
    while (text[n] != 0) n++;
    return n;
}

int SameUnits(const wchar_t *a, const wchar_t *b, int length)
{
    int i;
    for (i = 0; i < length; i++) {
        if (a[i] != b[i]) return 0;
    }
    return 1;
}

int FindUnits(const wchar_t *text, int textLength, const wchar_t *needle, int needleLength)
{
    int i;
    for (i = 0; i + needleLength <= textLength; i++) {
        if (SameUnits(text + i, needle, needleLength)) return i;
    }
    return -1;
}

wchar_t FoldAscii(wchar_t unit)
{
    return unit >= L'a' && unit <= L'z' ? (wchar_t)(unit - 0x20) : unit;
}

wchar_t *NewUnits(int capacity)
{
    wchar_t *units = (wchar_t *)malloc(sizeof(wchar_t) * (size_t)(capacity > 0 ? capacity : 1));
    int i;
    if (units == 0) abort();
    for (i = 0; i < capacity; i++) units[i] = (wchar_t)0xFFFF;
    return units;
}

void FreeUnits(wchar_t *units)
{
    free(units);
}
