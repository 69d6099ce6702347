/*
** The bounded text helpers and the usage text, at the edges of their
** buffers: every buffer here is a heap block of exactly its capacity, so
** the address sanitizer stops any unit written or read past it.
*/
#include <errno.h>
#include <limits.h>
#include <stdlib.h>

#include "check.h"
#include "frame/help.h"
#include "frame/text.h"
#include "support/units.h"

NATIVE_TEST(CopyAtEveryCapacityCutsAndTerminates)
{
    const wchar_t *text = L"abcdef";
    for (int capacity = 1; capacity <= 9; capacity++) {
        wchar_t *buffer = NewUnits(capacity);
        int status = TextCopy(buffer, capacity, text);
        int kept = capacity - 1 < 6 ? capacity - 1 : 6;
        CHECK_EQ(capacity > 6 ? TEXT_OK : TEXT_CUT, status);
        CHECK_EQ(kept, UnitCount(buffer));
        CHECK(SameUnits(buffer, text, kept));
        FreeUnits(buffer);
    }
    CHECK_EQ(TEXT_NO_ROOM, TextCopy(0, 5, text));
    CHECK_EQ(TEXT_NO_ROOM, TextCopy((wchar_t *)text, 0, text));
}

NATIVE_TEST(AppendToATextThatFillsItsBufferUnterminated)
{
    wchar_t *buffer = NewUnits(4);
    buffer[0] = L'a';
    buffer[1] = L'b';
    buffer[2] = L'c';
    buffer[3] = L'd';
    CHECK_EQ(TEXT_CUT, TextAppend(buffer, 4, L"xyz"));
    CHECK_TEXT(L"abc", buffer);
    CHECK_EQ(TEXT_CUT, TextAppendUnit(buffer, 4, L'z'));
    CHECK_TEXT(L"abc", buffer);
    FreeUnits(buffer);

    buffer = NewUnits(6);
    TextCopy(buffer, 6, L"ab");
    CHECK_EQ(TEXT_CUT, TextAppend(buffer, 6, L"cdefg"));
    CHECK_TEXT(L"abcde", buffer);
    FreeUnits(buffer);
}

NATIVE_TEST(PutUnitStopsOneShortOfTheCapacity)
{
    wchar_t *buffer = NewUnits(3);
    int length = 0;
    buffer[0] = 0;
    CHECK_EQ(TEXT_OK, TextPutUnit(buffer, 3, &length, L'a'));
    CHECK_EQ(TEXT_OK, TextPutUnit(buffer, 3, &length, L'b'));
    CHECK_EQ(TEXT_CUT, TextPutUnit(buffer, 3, &length, L'c'));
    CHECK_EQ(2, length);
    CHECK_TEXT(L"ab", buffer);
    length = -1;
    CHECK_EQ(TEXT_CUT, TextPutUnit(buffer, 3, &length, L'c'));
    CHECK_EQ(TEXT_NO_ROOM, TextPutUnit(buffer, 3, 0, L'c'));
    FreeUnits(buffer);
}

NATIVE_TEST(ComparisonsStopAtTheShorterText)
{
    wchar_t *a = NewUnits(3), *b = NewUnits(5);
    TextCopy(a, 3, L"aB");
    TextCopy(b, 5, L"AbcD");
    CHECK_EQ(0, TextEqualNoCase(a, b));
    CHECK_EQ(1, TextEqualNoCaseN(a, b, 2));
    CHECK_EQ(0, TextEqualNoCaseN(a, b, 3));
    CHECK_EQ(1, TextEqualNoCaseSpan(b, 2, a));
    CHECK_EQ(0, TextEqualNoCaseSpan(b, 3, a));
    CHECK_EQ(0, TextEqualNoCaseSpan(a, 2, b));
    CHECK_EQ(-1, TextFind(a, b));
    CHECK_EQ(0, TextFind(b, L""));
    CHECK_EQ(3, TextFindUnit(b, L'D'));
    CHECK_EQ(-1, TextFindLastUnit(a, L'x'));
    FreeUnits(a);
    FreeUnits(b);
}

/* The C library's conversion on the same digits, with a 32-bit long. */
static void ExpectLikeStrtol(const char *narrow)
{
    wchar_t wide[64];
    int i, outOfRange = -1;
    const wchar_t *stop = 0;
    char *narrowStop = 0;
    long long expected;
    int expectedOutOfRange;

    for (i = 0; narrow[i] != 0; i++) wide[i] = (wchar_t)(unsigned char)narrow[i];
    wide[i] = 0;
    errno = 0;
    expected = strtoll(narrow, &narrowStop, 10);
    expectedOutOfRange = errno == ERANGE || expected > INT_MAX || expected < INT_MIN;
    if (expected > INT_MAX) expected = INT_MAX;
    if (expected < INT_MIN) expected = INT_MIN;
    CHECK_EQ(expected, TextToLong(wide, &stop, &outOfRange));
    CHECK_EQ(expectedOutOfRange, outOfRange);
    CHECK_EQ(narrowStop - narrow, stop - wide);
}

NATIVE_TEST(LeadingIntegerAsTheCLibraryReadsIt)
{
    const char *cases[] = {
        "24.00", "  11.00", "\t+7x", "-0", "2147483647", "2147483648", "-2147483648",
        "-2147483649", "99999999999999999999999", "", "+", "-", " - 5", "0009", "12abc",
    };
    for (const char *c : cases) ExpectLikeStrtol(c);
    CHECK_EQ(0, TextToLong(0, 0, 0));
}

NATIVE_TEST(UsageTextAtEveryCapacity)
{
    static const wchar_t Syntax[] = L"TIRVALO [/S /R /L /T:x /C:x] [hotkey] \r\n";
    int full = UnitCount(HelpText) - (int)(sizeof L"Display or change options for the Tirvalo plugin. \n\n" / sizeof(wchar_t) - 1);
    wchar_t *whole = NewUnits(full + 1);
    CHECK_EQ(TEXT_OK, CopyUsageText(whole, full + 1));
    CHECK_EQ(full, UnitCount(whole));
    CHECK(SameUnits(whole, Syntax, UnitCount(Syntax)));
    for (int capacity = 1; capacity <= full + 1; capacity++) {
        wchar_t *buffer = NewUnits(capacity);
        CHECK_EQ(capacity <= full ? TEXT_CUT : TEXT_OK, CopyUsageText(buffer, capacity));
        CHECK_EQ(capacity - 1 < full ? capacity - 1 : full, UnitCount(buffer));
        CHECK(SameUnits(buffer, whole, UnitCount(buffer)));
        FreeUnits(buffer);
    }
    FreeUnits(whole);
}
