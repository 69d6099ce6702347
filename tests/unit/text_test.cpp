// The bounded text helpers in the DLL's build: null and empty buffers,
// ASCII-only case rules, finding, and the platform's character classes.
// Cutting at every capacity and the string-to-long conversion are tested in
// the native build, under the sanitizers (native/unit/text_test.cpp).
#include <gtest/gtest.h>

#include <string>

#include "frame/text.h"

namespace {

TEST(TextCopy, RefusesNoRoomAndTreatsNullTextAsEmpty)
{
    wchar_t buffer[4] = {L'x', L'x', 0, 0};
    EXPECT_EQ(TEXT_NO_ROOM, TextCopy(buffer, 0, L"a"));
    EXPECT_EQ(L'x', buffer[0]);
    EXPECT_EQ(TEXT_NO_ROOM, TextCopy(nullptr, 4, L"a"));
    EXPECT_EQ(TEXT_OK, TextCopy(buffer, 4, nullptr));
    EXPECT_STREQ(L"", buffer);
}

TEST(TextCopy, CopyUnitsStopsAtCountOrTerminator)
{
    wchar_t buffer[16];
    EXPECT_EQ(TEXT_OK, TextCopyUnits(buffer, 16, L"abcdef", 3));
    EXPECT_STREQ(L"abc", buffer);
    EXPECT_EQ(TEXT_OK, TextCopyUnits(buffer, 16, L"ab", 10));
    EXPECT_STREQ(L"ab", buffer);
    EXPECT_EQ(TEXT_CUT, TextCopyUnits(buffer, 3, L"abcdef", 5));
    EXPECT_STREQ(L"ab", buffer);
}

TEST(TextCase, OnlyAsciiLettersFold)
{
    wchar_t text[] = L"az{}AZ@`\u00e9\u00fb";
    TextUpperAscii(text);
    EXPECT_STREQ(L"AZ{}AZ@`\u00e9\u00fb", text);

    EXPECT_TRUE(TextEqualNoCase(L"ctrl-q", L"CTRL-Q"));
    EXPECT_FALSE(TextEqualNoCase(L"[", L"{"));        // 0x5B and 0x7B differ by 0x20
    EXPECT_FALSE(TextEqualNoCase(L"@", L"`"));
    EXPECT_FALSE(TextEqualNoCase(L"\u00db", L"\u00fb")); // non-ASCII letters never fold
    EXPECT_FALSE(TextEqualNoCase(L"abc", L"ab"));
    EXPECT_FALSE(TextEqualNoCase(L"ab", L"abc"));
    EXPECT_FALSE(TextEqualNoCase(L"a", nullptr));
    EXPECT_TRUE(TextEqualNoCase(nullptr, nullptr));
}

TEST(TextCase, PrefixComparisonCountsUnits)
{
    EXPECT_TRUE(TextEqualNoCaseN(L"FILE:///c:/x", L"file://", 7));
    EXPECT_FALSE(TextEqualNoCaseN(L"file:/", L"file://", 7));
    EXPECT_TRUE(TextEqualNoCaseN(L"ab", L"AB", 7));
}

TEST(TextCase, SpanComparisonNeedsTheWholeTextAndNoTerminatorInTheSpan)
{
    const wchar_t line[] = L"ctrl-alt-q";
    EXPECT_TRUE(TextEqualNoCaseSpan(line, 4, L"CTRL"));
    EXPECT_TRUE(TextEqualNoCaseSpan(line + 5, 3, L"Alt"));
    EXPECT_FALSE(TextEqualNoCaseSpan(line, 4, L"CTR"));      // text shorter
    EXPECT_FALSE(TextEqualNoCaseSpan(line, 4, L"CTRL-"));    // text longer
    EXPECT_FALSE(TextEqualNoCaseSpan(L"\u00fb", 1, L"\u00db"));
    EXPECT_TRUE(TextEqualNoCaseSpan(line, 0, L""));
    EXPECT_FALSE(TextEqualNoCaseSpan(line, 0, L"c"));
    EXPECT_FALSE(TextEqualNoCaseSpan(nullptr, 0, L""));
    EXPECT_FALSE(TextEqualNoCaseSpan(line, 1, nullptr));
}

TEST(TextFind, FindsUnitsAndTexts)
{
    EXPECT_EQ(2, TextFindUnit(L"a\\b\\c", L'b'));
    EXPECT_EQ(-1, TextFindUnit(L"abc", L'x'));
    EXPECT_EQ(3, TextFindLastUnit(L"a\\b\\c", L'\\'));
    EXPECT_EQ(-1, TextFindLastUnit(nullptr, L'\\'));
    EXPECT_EQ(4, TextFind(L"abc%%def", L"%d"));
    EXPECT_EQ(0, TextFind(L"abc", L""));
    EXPECT_EQ(-1, TextFind(L"ab", L"abc"));
    EXPECT_EQ(7, TextLength(L"1234567"));
    EXPECT_EQ(0, TextLength(nullptr));
}

TEST(CharacterClasses, WhiteSpaceFollowsThePlatformAboveLatin1)
{
    for (wchar_t unit : {L'\t', L'\n', L'\v', L'\f', L'\r', L' ', L'\u00a0', L'\u3000', L'\u2003'}) {
        EXPECT_TRUE(IsWhiteSpace(unit)) << std::hex << (int)unit;
    }
    for (wchar_t unit : {L'\0', L'a', L'\u0085', L'\u00ad', L'\u4e00', L'\u00d7'}) {
        EXPECT_FALSE(IsWhiteSpace(unit)) << std::hex << (int)unit;
    }
}

TEST(CharacterClasses, LettersIncludeLatin1ButNotItsSigns)
{
    for (wchar_t unit : {L'A', L'z', L'\u00c0', L'\u00e9', L'\u00ff', L'\u0416', L'\u03b1'}) {
        EXPECT_TRUE(IsLetter(unit)) << std::hex << (int)unit;
    }
    for (wchar_t unit : {L'0', L'_', L'@', L'\u00d7', L'\u00f7', L'\u00bd', L'\u3000'}) {
        EXPECT_FALSE(IsLetter(unit)) << std::hex << (int)unit;
    }
}

}  // namespace
