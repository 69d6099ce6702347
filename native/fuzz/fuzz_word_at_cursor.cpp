/*
** Fuzz target: the word at the cursor.  Input: the line, optionally after a
** decimal cursor index and a colon ("12:list foo.txt"); without one the
** cursor stands at the end; then a capacity byte after a zero byte.  The
** word fits its buffer, holds no double quote, and is a piece of the line
** with its double quotes taken out; a cursor past the end finds the last
** word.
*/
#include "fuzz_input.h"
#include "hotkeys/word_at_cursor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input = {data, size, 0};
    int total;
    wchar_t *text = TakeText(&input, &total);
    int capacity = 1 + TakeByte(&input) % 64;

    /* The cursor prefix. */
    long long cursor = -1;
    int digits = 0;
    while (digits < total && digits < 12 && text[digits] >= L'0' && text[digits] <= L'9') digits++;
    const wchar_t *line = text;
    if (digits > 0 && digits < total && text[digits] == L':') {
        cursor = 0;
        for (int i = 0; i < digits; i++) cursor = cursor * 10 + (text[i] - L'0');
        line = text + digits + 1;
    }
    int length = UnitCount(line);
    if (cursor < 0) cursor = length;

    static wchar_t *word = NewUnits(WORD_CAPACITY);
    static wchar_t *last = NewUnits(WORD_CAPACITY);
    int found = ExtractWordAtCursor(line, cursor, word, WORD_CAPACITY);
    REQUIRE(found >= 0 && found < WORD_CAPACITY && UnitCount(word) == found);

    wchar_t *unquoted = NewUnits(length + 1);
    int n = 0;
    for (int i = 0; i < length; i++) {
        if (line[i] != L'"') unquoted[n++] = line[i];
    }
    unquoted[n] = 0;
    for (int i = 0; i < found; i++) REQUIRE(word[i] != L'"');
    REQUIRE(FindUnits(unquoted, n, word, found) >= 0);

    if (cursor >= length) {
        REQUIRE(ExtractWordAtCursor(line, cursor + 1000, last, WORD_CAPACITY) == found);
        REQUIRE(SameUnits(last, word, found));
    }

    /* A small buffer: the word may differ, since what the scan keeps
    ** decides whether "%@" opens a function, but it fits and is a piece of
    ** the line in the same way. */
    wchar_t *small = NewUnits(capacity);
    int kept = ExtractWordAtCursor(line, cursor, small, capacity);
    REQUIRE(kept >= 0 && kept < capacity && UnitCount(small) == kept);
    REQUIRE(FindUnits(unquoted, n, small, kept) >= 0);

    FreeUnits(small);
    FreeUnits(unquoted);
    FreeUnits(text);
    return 0;
}
