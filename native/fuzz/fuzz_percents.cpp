/*
** Fuzz target: the percent signs of names: undoubling what a user doubled
** for the host, narrowing U+FF05, and doubling a name handed to the host.
** Input: a capacity byte, then a text.  Undoubling takes out exactly the
** pairs, doubling and then undoubling gives the text back, and a doubled
** text never ends in half of a pair when cut.
*/
#include "fileinfo/name_scan.h"
#include "frame/text.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input = {data, size, 0};
    int capacity = 1 + TakeByte(&input) % 64;
    int length;
    wchar_t *text = TakeText(&input, &length);

    /* Undoubling, against a scan of the pairs. */
    wchar_t *undoubled = NewUnits(length + 1);
    TextCopy(undoubled, length + 1, text);
    int pairs = 0, n = 0;
    wchar_t *expected = NewUnits(length + 1);
    for (int i = 0; i < length; i++) {
        if (text[i] == L'%' && text[i + 1] == L'%') {
            pairs++;
            i++;
        }
        expected[n++] = text[i];
    }
    expected[n] = 0;
    REQUIRE(UndoublePercents(undoubled) == pairs);
    REQUIRE(UnitCount(undoubled) == length - pairs && SameUnits(undoubled, expected, n));

    /* Narrowing changes U+FF05 alone. */
    wchar_t *narrowed = NewUnits(length + 1);
    TextCopy(narrowed, length + 1, text);
    NarrowPercents(narrowed);
    for (int i = 0; i <= length; i++) {
        REQUIRE(narrowed[i] == (text[i] == (wchar_t)0xFF05 ? L'%' : text[i]));
    }

    /* Doubling into a buffer that may be too small. */
    wchar_t *doubled = NewUnits(capacity);
    doubled[0] = 0;
    int status = AppendDoublingPercents(doubled, capacity, text);
    int doubledLength = UnitCount(doubled);
    REQUIRE(doubledLength < capacity);
    int percents = 0;
    for (int i = 0; i < length; i++) percents += text[i] == L'%';
    REQUIRE(status == (length + percents < capacity ? TEXT_OK : TEXT_CUT));
    /* The text, unit for unit, each "%" as a whole pair. */
    for (int i = 0, at = 0; i < doubledLength; at++) {
        REQUIRE(doubled[i] == text[at]);
        if (text[at] == L'%') {
            REQUIRE(i + 1 < doubledLength && doubled[i + 1] == L'%');
            i++;
        }
        i++;
    }
    if (status == TEXT_OK) {
        REQUIRE(UndoublePercents(doubled) == percents);
        REQUIRE(UnitCount(doubled) == length && SameUnits(doubled, text, length));
    }

    FreeUnits(doubled);
    FreeUnits(narrowed);
    FreeUnits(expected);
    FreeUnits(undoubled);
    FreeUnits(text);
    return 0;
}
