// The word at the cursor: separators, quotes, host function arguments with
// their brackets, and platform white space. Cursors outside the line, the
// 32767-unit cut and small buffers are tested in the native build, under the
// sanitizers (native/unit/word_at_cursor_test.cpp).
#include <gtest/gtest.h>

#include <string>

#include "hotkeys/word_at_cursor.h"

namespace {

std::wstring WordAt(const std::wstring &line, long long cursor)
{
    static wchar_t word[WORD_CAPACITY];
    int length = ExtractWordAtCursor(line.c_str(), cursor, word, WORD_CAPACITY);
    EXPECT_EQ(std::wstring(word).size(), (size_t)length);
    return word;
}

TEST(WordAtCursor, TheWordUnderOrBeforeTheCursor)
{
    const std::wstring line = L"list foo.txt";
    EXPECT_EQ(L"foo.txt", WordAt(line, 12));
    EXPECT_EQ(L"foo.txt", WordAt(line, 5));
    EXPECT_EQ(L"foo.txt", WordAt(line, 9));
    EXPECT_EQ(L"list", WordAt(line, 4));   // on the blank: the word before it
    EXPECT_EQ(L"list", WordAt(line, 0));
    EXPECT_EQ(L"", WordAt(L"list  foo", 5));   // a blank before a blank
    EXPECT_EQ(L"foo", WordAt(L"list  foo", 6));
    EXPECT_EQ(L"", WordAt(L"", 0));
    EXPECT_EQ(L"", WordAt(L"   ", 3));
}

TEST(WordAtCursor, SeparatorsOfTheShell)
{
    EXPECT_EQ(L"x", WordAt(L"list x>out.txt", 6));
    EXPECT_EQ(L"out.txt", WordAt(L"list x>out.txt", 14));
    EXPECT_EQ(L"b", WordAt(L"a,b;c", 3));
    EXPECT_EQ(L"c", WordAt(L"a|b&c<d", 5));
    EXPECT_EQ(L"(b)", WordAt(L"a x (b)", 7));   // parentheses are no separators
    EXPECT_EQ(L"a[b]", WordAt(L"a[b]", 4));     // brackets without "%@name"
    EXPECT_EQ(L"x]y", WordAt(L"x]y", 3));
}

TEST(WordAtCursor, WhiteSpaceIncludesTabsNoBreakAndPlatformSpaces)
{
    EXPECT_EQ(L"b", WordAt(L"a\tb", 3));
    EXPECT_EQ(L"b", WordAt(L"a\u00a0b", 3));
    EXPECT_EQ(L"b", WordAt(L"a\u3000b", 3));
    EXPECT_EQ(L"a", WordAt(L"a\u3000b", 1));
    EXPECT_EQ(L"a\u00e9\u4e00b", WordAt(L"a\u00e9\u4e00b", 4));
}

TEST(WordAtCursor, QuotesGroupAndVanish)
{
    const std::wstring line = L"list \"D:\\My Files\\Notes.txt\" > nul";
    for (long long cursor = 6; cursor <= 27; cursor++) {
        EXPECT_EQ(L"D:\\My Files\\Notes.txt", WordAt(line, cursor)) << cursor;
    }
    EXPECT_EQ(L"ab cd", WordAt(L"list a\"b c\"d", 12));
    EXPECT_EQ(L"a;b", WordAt(L"\"a;b", 4));   // a quote never closed runs to the end
}

TEST(WordAtCursor, HostFunctionArgumentIsTheWord)
{
    const std::wstring line = L"list %@descript[c:\\Work.txt]";
    ASSERT_EQ(28u, line.size());
    EXPECT_EQ(L"list", WordAt(line, 4));
    for (long long cursor = 5; cursor <= 27; cursor++) {
        EXPECT_EQ(L"c:\\Work.txt", WordAt(line, cursor)) << cursor;
    }
    EXPECT_EQ(L"", WordAt(line, 28));
}

TEST(WordAtCursor, NestedFunctionsAndTheirDepth)
{
    const std::wstring line = L"%@a[%@b[x]]";
    EXPECT_EQ(L"x", WordAt(line, 8));
    EXPECT_EQ(L"x", WordAt(line, 9));
    EXPECT_EQ(L"", WordAt(line, 10));
    // A "]" outside any function is an ordinary unit.
    EXPECT_EQ(L"y]", WordAt(L"%@a[x] y]", 9));
    // "%@" needs a name made of letters, digits and "_" right before "[".
    EXPECT_EQ(L"%@a.b[x]", WordAt(L"%@a.b[x]", 8));
    EXPECT_EQ(L"x", WordAt(L"%@_1[x]", 6));
    EXPECT_EQ(L"@b[x]", WordAt(L"@b[x]", 5));
}

}  // namespace
