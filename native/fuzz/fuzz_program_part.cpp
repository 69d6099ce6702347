/*
** Fuzz target: the program part of an open command and the test for a
** command that runs the file itself.  Input: a capacity byte, then the
** command.  The program part is a piece of the command with its quotes
** taken out, holds no quote and no white space outside quotes, fits its
** buffer, and is the start of the whole part when cut.
*/
#include "fileinfo/name_scan.h"
#include "frame/text.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input = {data, size, 0};
    int capacity = 1 + TakeByte(&input) % 32;
    int length;
    wchar_t *command = TakeText(&input, &length);

    wchar_t *whole = NewUnits(length + 1);
    REQUIRE(ProgramPart(command, whole, length + 1) == TEXT_OK);
    int wholeLength = UnitCount(whole);

    wchar_t *unquoted = NewUnits(length + 1);
    int n = 0;
    for (int i = 0; i < length; i++) {
        if (command[i] != L'"') unquoted[n++] = command[i];
    }
    unquoted[n] = 0;
    REQUIRE(FindUnits(unquoted, n, whole, wholeLength) >= 0);
    for (int i = 0; i < wholeLength; i++) REQUIRE(whole[i] != L'"');
    /* Without quotes in the command, no white space at all. */
    if (n == length) {
        for (int i = 0; i < wholeLength; i++) REQUIRE(!IsWhiteSpace(whole[i]));
    }

    wchar_t *part = NewUnits(capacity);
    int status = ProgramPart(command, part, capacity);
    REQUIRE(status == (wholeLength < capacity ? TEXT_OK : TEXT_CUT));
    int kept = wholeLength < capacity - 1 ? wholeLength : capacity - 1;
    REQUIRE(UnitCount(part) == kept && SameUnits(part, whole, kept));

    int placeholder = wholeLength == 2 && whole[0] == L'%' &&
                      (whole[1] == L'1' || FoldAscii(whole[1]) == L'L');
    REQUIRE(IsPlaceholderCommand(command) == placeholder);

    FreeUnits(part);
    FreeUnits(unquoted);
    FreeUnits(whole);
    FreeUnits(command);
    return 0;
}
