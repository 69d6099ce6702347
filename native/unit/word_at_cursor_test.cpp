/*
** The word at the cursor at the edges: words longer than the word buffer,
** buffers of every small size, cursors past the end, deep function nesting.
*/
#include "check.h"
#include "hotkeys/word_at_cursor.h"
#include "support/units.h"

NATIVE_TEST(AWordKeepsItsFirst32767Units)
{
    for (int length : {32766, 32767, 32768, 40000}) {
        wchar_t *line = NewUnits(length + 3);
        line[0] = L'"';
        for (int i = 1; i <= length; i++) line[i] = L'a' + i % 26;
        line[length + 1] = L'"';
        line[length + 2] = 0;
        wchar_t *word = NewUnits(WORD_CAPACITY);
        int kept = length < WORD_CAPACITY - 1 ? length : WORD_CAPACITY - 1;
        CHECK_EQ(kept, ExtractWordAtCursor(line, length + 2, word, WORD_CAPACITY));
        CHECK_EQ(kept, UnitCount(word));
        CHECK(SameUnits(word, line + 1, kept));
        FreeUnits(word);
        FreeUnits(line);
    }
}

NATIVE_TEST(SmallBuffersGetThePrefixOfTheWord)
{
    const wchar_t *line = L"list \"My Files\\notes.txt\" > nul";
    for (int capacity = 1; capacity <= 24; capacity++) {
        wchar_t *word = NewUnits(capacity);
        int length = ExtractWordAtCursor(line, 10, word, capacity);
        int expected = capacity - 1 < 18 ? capacity - 1 : 18;
        CHECK_EQ(expected, length);
        CHECK(SameUnits(word, L"My Files\\notes.txt", expected));
        FreeUnits(word);
    }
    CHECK_EQ(0, ExtractWordAtCursor(line, 0, 0, 10));
    wchar_t word[8];
    CHECK_EQ(0, ExtractWordAtCursor(0, 0, word, 8));
    CHECK_TEXT(L"", word);
}

NATIVE_TEST(CursorsPastTheEndGiveTheLastWord)
{
    wchar_t word[64];
    for (long long cursor : {12LL, 13LL, 1000LL, 0x7FFFFFFFFFFFLL}) {
        CHECK_EQ(7, ExtractWordAtCursor(L"list foo.txt", cursor, word, 64));
        CHECK_TEXT(L"foo.txt", word);
    }
    CHECK_EQ(4, ExtractWordAtCursor(L"list foo.txt", -5, word, 64));
    CHECK_TEXT(L"list", word);
}

NATIVE_TEST(DeepNestingOfHostFunctions)
{
    const int depth = 20000;
    wchar_t *line = NewUnits(depth * 4 + depth + 2);
    int n = 0;
    for (int i = 0; i < depth; i++) {
        line[n++] = L'%';
        line[n++] = L'@';
        line[n++] = L'f';
        line[n++] = L'[';
    }
    line[n++] = L'x';
    for (int i = 0; i < depth; i++) line[n++] = L']';
    line[n] = 0;
    wchar_t word[16];
    CHECK_EQ(1, ExtractWordAtCursor(line, depth * 4, word, 16));
    CHECK_TEXT(L"x", word);
    CHECK_EQ(0, ExtractWordAtCursor(line, n, word, 16));
    FreeUnits(line);
}
