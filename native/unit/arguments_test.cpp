/*
** The argument splitter at the edges of its table: arguments of 2048 units
** and more, 128 arguments and more, and texts that never close a quote.
*/
#include "check.h"
#include "command/arguments.h"
#include "support/units.h"

/* A text of count units, each unit, in a heap block of exactly its size. */
static wchar_t *Repeated(wchar_t unit, int count)
{
    wchar_t *text = NewUnits(count + 1);
    for (int i = 0; i < count; i++) text[i] = unit;
    text[count] = 0;
    return text;
}

NATIVE_TEST(ArgumentsOfTheLimitAndBeyondKeepTheirFirst2048Units)
{
    for (int length : {2047, 2048, 2049, 5000}) {
        wchar_t *text = Repeated(L'w', length + 2);
        text[length] = L' ';
        text[length + 1] = L'x';
        SplitArguments(text);
        int kept = length < ARGUMENT_UNITS ? length : ARGUMENT_UNITS;
        CHECK_EQ(kept, ArgumentLengths[0]);
        CHECK_EQ(kept, UnitCount(ArgumentTable[0]));
        CHECK_EQ(L'W', ArgumentTable[0][kept - 1]);
        CHECK_TEXT(L"X", ArgumentTable[1]);
        CHECK_EQ(0, ArgumentLengths[2]);
        FreeUnits(text);
    }
}

NATIVE_TEST(ArgumentsAfterThe128thAreDroppedWhole)
{
    for (int count : {127, 128, 129, 130, 1000}) {
        wchar_t *text = Repeated(L'a', count * 2);
        for (int i = 0; i < count; i++) text[2 * i + 1] = L' ';
        SplitArguments(text);
        for (int slot = 0; slot < ARGUMENT_SLOTS; slot++) {
            CHECK_EQ(slot < count ? 1 : 0, ArgumentLengths[slot]);
        }
        FreeUnits(text);
    }
}

NATIVE_TEST(TheLastSlotIsCutLikeAnyOther)
{
    wchar_t *text = Repeated(L'b', 127 * 2 + 3000);
    for (int i = 0; i < 127; i++) text[2 * i + 1] = L' ';
    SplitArguments(text);
    CHECK_EQ(ARGUMENT_UNITS, ArgumentLengths[127]);
    CHECK_EQ(0, ArgumentTable[127][ARGUMENT_UNITS]);
    FreeUnits(text);
}

NATIVE_TEST(AnOpenQuoteRunsToTheEndAndOptionsSplitOnlyOutsideQuotes)
{
    SplitArguments(L"/f:\"a b/c");
    CHECK_TEXT(L"/F:A B/C", ArgumentTable[0]);
    CHECK_EQ(0, ArgumentLengths[1]);
    SplitArguments(L"\"\"\"\"/s/r\"");
    CHECK_TEXT(L"/S", ArgumentTable[0]);
    CHECK_TEXT(L"/R", ArgumentTable[1]);
    SplitArguments(L"/\xD800/\xDFFF \xFF05%");
    CHECK_TEXT(L"/\xD800", ArgumentTable[0]);
    CHECK_TEXT(L"/\xDFFF", ArgumentTable[1]);
    CHECK_TEXT(L"\xFF05%", ArgumentTable[2]);
}
