/*
** Fuzz target: the argument splitter.  Input: the argument text.  Every
** stored argument is upper-cased, at most 2048 units, terminated where its
** length says, and the arguments stand in consecutive slots from slot 0;
** and when nothing was cut or dropped, the arguments joined are the text
** without its quotes and its unquoted white space.
*/
#include "command/arguments.h"
#include "frame/text.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input = {data, size, 0};
    int length;
    wchar_t *text = TakeText(&input, &length);

    SplitArguments(text);

    int slots = 0, joinedLength = 0, cut = 0;
    for (int slot = 0; slot < ARGUMENT_SLOTS; slot++) {
        int stored = ArgumentLengths[slot];
        REQUIRE(stored >= 0 && stored <= ARGUMENT_UNITS);
        REQUIRE(ArgumentTable[slot][stored] == 0);
        REQUIRE(UnitCount(ArgumentTable[slot]) == stored);
        if (stored == 0) continue;
        REQUIRE(slot == slots);   /* no gap */
        slots++;
        joinedLength += stored;
        if (stored == ARGUMENT_UNITS) cut = 1;
        for (int i = 0; i < stored; i++) {
            wchar_t unit = ArgumentTable[slot][i];
            REQUIRE(!(unit >= L'a' && unit <= L'z'));
            REQUIRE(unit != L'"');
        }
    }
    if (slots == ARGUMENT_SLOTS) cut = 1;

    if (!cut) {
        /* The text without quotes and unquoted white space, upper-cased. */
        wchar_t *expected = NewUnits(length + 1);
        int n = 0, quoted = 0;
        for (int i = 0; i < length; i++) {
            wchar_t unit = text[i];
            if (unit == L'"') {
                quoted = !quoted;
            } else if (quoted || !IsWhiteSpace(unit)) {
                expected[n++] = FoldAscii(unit);
            }
        }
        REQUIRE(n == joinedLength);
        int at = 0;
        for (int slot = 0; slot < slots; slot++) {
            REQUIRE(SameUnits(ArgumentTable[slot], expected + at, ArgumentLengths[slot]));
            at += ArgumentLengths[slot];
        }
        FreeUnits(expected);
    }
    FreeUnits(text);
    return 0;
}
