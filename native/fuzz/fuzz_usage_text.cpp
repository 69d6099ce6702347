/*
** Fuzz target: the copy of the help text that Usage hands the host, into
** buffers of any size up to the host's 1024 units.  Input: two bytes of
** capacity.  The copy is always the start of the syntax-line-on text, cut
** to the buffer and said to be cut exactly when it did not fit.
*/
#include "frame/help.h"
#include "frame/text.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static wchar_t whole[2048];
    static int wholeLength = -1;
    FuzzInput input = {data, size, 0};
    int capacity = 1 + (TakeByte(&input) | TakeByte(&input) << 8) % 1024;

    if (wholeLength < 0) {
        REQUIRE(CopyUsageText(whole, 2048) == TEXT_OK);
        wholeLength = UnitCount(whole);
        /* The text from the syntax line on is the end of the help text. */
        REQUIRE(SameUnits(whole, HelpText + UnitCount(HelpText) - wholeLength, wholeLength));
        REQUIRE(SameUnits(whole, L"TIRVALO [", 9));
    }
    wchar_t *buffer = NewUnits(capacity);
    int status = CopyUsageText(buffer, capacity);
    int kept = wholeLength < capacity - 1 ? wholeLength : capacity - 1;
    REQUIRE(status == (wholeLength < capacity ? TEXT_OK : TEXT_CUT));
    REQUIRE(UnitCount(buffer) == kept && SameUnits(buffer, whole, kept));
    FreeUnits(buffer);
    return 0;
}
