/*
** Fuzz target: the parsers of the /C and /T values.  Input: the argument.
** The results stay in their ranges, the two parsers agree where both know
** the value, and a value is only ever found at the end of the text.
*/
#include "command/command.h"
#include "frame/text.h"
#include "fuzz_input.h"

/* 1 when text ends with word, ASCII letters compared without case. */
static int EndsWith(const wchar_t *text, int length, const wchar_t *word)
{
    int wordLength = UnitCount(word);
    if (wordLength > length) return 0;
    for (int i = 0; i < wordLength; i++) {
        if (FoldAscii(text[length - wordLength + i]) != FoldAscii(word[i])) return 0;
    }
    return 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const wchar_t *const Words[3][2] = {{L"0", L"off"}, {L"1", L"on"}, {L"2", L"utc"}};
    FuzzInput input = {data, size, 0};
    int length;
    wchar_t *text = TakeText(&input, &length);

    int onOff = ParseOnOff(text);
    int offOnUtc = ParseOffOnUtc(text);
    REQUIRE(onOff == OPTION_NO_VALUE || (onOff >= 0 && onOff <= 1));
    REQUIRE(offOnUtc == OPTION_NO_VALUE || (offOnUtc >= 0 && offOnUtc <= 2));
    if (onOff >= 0) REQUIRE(offOnUtc == onOff);
    if (offOnUtc == 0 || offOnUtc == 1) REQUIRE(onOff == offOnUtc);
    if (offOnUtc >= 0) {
        REQUIRE(EndsWith(text, length, Words[offOnUtc][0]) ||
                EndsWith(text, length, Words[offOnUtc][1]));
    }
    FreeUnits(text);
    return 0;
}
