/*
** Fuzz target: the bounded text helpers.  Input: a capacity byte, a count
** byte, then two texts.  Checks each helper against what it must give:
** copies and appends cut to their buffer and say so, comparisons agree with
** a unit-by-unit comparison, searches find the first or last place, the
** leading integer agrees with the C library's on ASCII texts, and the
** character classes follow their rules.
*/
#include <errno.h>
#include <limits.h>

#include "shim/chartype_table.h"
#include "frame/text.h"
#include "fuzz_input.h"

static int Smaller(int a, int b)
{
    return a < b ? a : b;
}

static void CheckCopyAndAppend(const wchar_t *a, int lengthA, const wchar_t *b, int lengthB,
                               int capacity, int count)
{
    wchar_t *buffer = NewUnits(capacity);
    int kept = Smaller(lengthA, capacity - 1);
    int status = TextCopy(buffer, capacity, a);
    REQUIRE(status == (lengthA < capacity ? TEXT_OK : TEXT_CUT));
    REQUIRE(UnitCount(buffer) == kept && SameUnits(buffer, a, kept));

    int total = Smaller(kept + lengthB, capacity - 1);
    status = TextAppend(buffer, capacity, b);
    REQUIRE(status == (kept + lengthB < capacity ? TEXT_OK : TEXT_CUT));
    REQUIRE(UnitCount(buffer) == total && SameUnits(buffer + kept, b, total - kept));

    int units = Smaller(count, lengthA);
    status = TextCopyUnits(buffer, capacity, a, count);
    REQUIRE(UnitCount(buffer) == Smaller(units, capacity - 1));
    REQUIRE(status == (units < capacity ? TEXT_OK : TEXT_CUT));

    int before = UnitCount(buffer), length = before;
    status = TextPutUnit(buffer, capacity, &length, L'x');
    REQUIRE(status == (before < capacity - 1 ? TEXT_OK : TEXT_CUT));
    REQUIRE(length == before + (status == TEXT_OK) && UnitCount(buffer) == length);
    FreeUnits(buffer);
}

static void CheckComparisons(const wchar_t *a, int lengthA, const wchar_t *b, int lengthB, int count)
{
    int equal = lengthA == lengthB, i;
    for (i = 0; equal && i < lengthA; i++) equal = FoldAscii(a[i]) == FoldAscii(b[i]);
    REQUIRE(TextEqualNoCase(a, b) == equal);

    int equalN = 1;
    for (i = 0; i < count; i++) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            equalN = 0;
            break;
        }
        if (a[i] == 0) break;
    }
    REQUIRE(TextEqualNoCaseN(a, b, count) == equalN);

    int span = Smaller(count, lengthA);
    int spanEqual = lengthB == span;
    for (i = 0; spanEqual && i < span; i++) spanEqual = FoldAscii(a[i]) == FoldAscii(b[i]);
    REQUIRE(TextEqualNoCaseSpan(a, span, b) == spanEqual);

    REQUIRE(TextFind(a, b) == FindUnits(a, lengthA, b, lengthB));
    wchar_t unit = lengthB > 0 ? b[0] : L'x';
    int first = -1, last = -1;
    for (i = 0; i < lengthA; i++) {
        if (a[i] != unit) continue;
        if (first < 0) first = i;
        last = i;
    }
    REQUIRE(TextFindUnit(a, unit) == first);
    REQUIRE(TextFindLastUnit(a, unit) == last);
    REQUIRE(TextLength(a) == lengthA);
}

static void CheckLeadingInteger(const wchar_t *a, int lengthA)
{
    const wchar_t *stop = 0;
    int outOfRange = -1;
    int value = TextToLong(a, &stop, &outOfRange);
    REQUIRE(stop >= a && stop <= a + lengthA);
    REQUIRE(outOfRange == 0 || outOfRange == 1);

    /* On ASCII the C library's conversion must agree, with a 32-bit long. */
    char *narrow = (char *)malloc((size_t)lengthA + 1);
    int i;
    for (i = 0; i < lengthA && a[i] > 0 && a[i] < 0x80; i++) narrow[i] = (char)a[i];
    narrow[i] = 0;
    if (i == lengthA) {
        char *narrowStop = 0;
        errno = 0;
        long long expected = strtoll(narrow, &narrowStop, 10);
        int expectedOut = errno == ERANGE || expected > INT_MAX || expected < INT_MIN;
        if (expected > INT_MAX) expected = INT_MAX;
        if (expected < INT_MIN) expected = INT_MIN;
        REQUIRE(value == expected);
        REQUIRE(outOfRange == expectedOut);
        REQUIRE(stop - a == narrowStop - narrow);
    }
    free(narrow);
}

static void CheckClasses(const wchar_t *a, int lengthA)
{
    for (int i = 0; i < lengthA; i++) {
        unsigned u = (unsigned short)a[i];
        int space = (u >= 9 && u <= 13) || u == 0x20 || u == 0xA0 ||
                    (u > 0xFF && (TableCharClass(a[i]) & CHAR_CLASS_SPACE) != 0);
        int letter = (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') ||
                     (u >= 0xC0 && u <= 0xFF && u != 0xD7 && u != 0xF7) ||
                     (u > 0xFF && (TableCharClass(a[i]) & CHAR_CLASS_LETTER) != 0);
        REQUIRE(IsWhiteSpace(a[i]) == space);
        REQUIRE(IsLetter(a[i]) == letter);
        REQUIRE(UpperAscii(a[i]) == FoldAscii(a[i]));
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input = {data, size, 0};
    int capacity = 1 + TakeByte(&input) % 48;
    int count = TakeByte(&input) % 40;
    int lengthA, lengthB;
    wchar_t *a = TakeText(&input, &lengthA);
    wchar_t *b = TakeText(&input, &lengthB);

    CheckCopyAndAppend(a, lengthA, b, lengthB, capacity, count);
    CheckComparisons(a, lengthA, b, lengthB, count);
    CheckLeadingInteger(a, lengthA);
    CheckClasses(a, lengthA);

    wchar_t *upper = NewUnits(lengthA + 1);
    TextCopy(upper, lengthA + 1, a);
    TextUpperAscii(upper);
    for (int i = 0; i < lengthA; i++) REQUIRE(upper[i] == FoldAscii(a[i]));
    REQUIRE(upper[lengthA] == 0);
    FreeUnits(upper);
    FreeUnits(a);
    FreeUnits(b);
    return 0;
}
