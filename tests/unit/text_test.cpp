// The bounded text helpers: bounds, cutting, ASCII-only case rules, and the
// string-to-long conversion the version gate relies on.
#include <gtest/gtest.h>

#include <string>

#include "frame/text.h"

namespace {

TEST(TextCopy, CopiesWholeTextWhenItFits)
{
    wchar_t buffer[8];
    EXPECT_EQ(TEXT_OK, TextCopy(buffer, 8, L"1234567"));
    EXPECT_STREQ(L"1234567", buffer);
}

TEST(TextCopy, CutsToCapacityAndTerminatesWithoutWritingPastIt)
{
    wchar_t buffer[10];
    for (wchar_t &unit : buffer) unit = L'#';
    EXPECT_EQ(TEXT_CUT, TextCopy(buffer, 5, L"abcdefgh"));
    EXPECT_STREQ(L"abcd", buffer);
    EXPECT_EQ(L'#', buffer[5]);
}

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

TEST(TextAppend, AppendsAndCutsAtCapacity)
{
    wchar_t buffer[8] = L"abc";
    EXPECT_EQ(TEXT_OK, TextAppend(buffer, 8, L"de"));
    EXPECT_STREQ(L"abcde", buffer);
    EXPECT_EQ(TEXT_CUT, TextAppend(buffer, 8, L"fghij"));
    EXPECT_STREQ(L"abcdefg", buffer);
    EXPECT_EQ(TEXT_CUT, TextAppendUnit(buffer, 8, L'z'));
    EXPECT_STREQ(L"abcdefg", buffer);
}

TEST(TextAppend, TerminatesATextThatFillsItsBufferUnterminated)
{
    wchar_t buffer[4] = {L'a', L'b', L'c', L'd'};
    EXPECT_EQ(TEXT_CUT, TextAppend(buffer, 4, L"e"));
    EXPECT_STREQ(L"abc", buffer);
}

TEST(TextPutUnit, KeepsLengthAndStopsOneShortOfCapacity)
{
    wchar_t buffer[4];
    int length = 0;
    buffer[0] = 0;
    EXPECT_EQ(TEXT_OK, TextPutUnit(buffer, 4, &length, L'a'));
    EXPECT_EQ(TEXT_OK, TextPutUnit(buffer, 4, &length, L'b'));
    EXPECT_EQ(TEXT_OK, TextPutUnit(buffer, 4, &length, L'c'));
    EXPECT_EQ(TEXT_CUT, TextPutUnit(buffer, 4, &length, L'd'));
    EXPECT_EQ(3, length);
    EXPECT_STREQ(L"abc", buffer);
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

TEST(TextToLong, ReadsLikeTheCLibraryWithA32BitLong)
{
    const wchar_t *stop = nullptr;
    int outOfRange = -1;
    const wchar_t *text = L" \t+23.01";
    EXPECT_EQ(23, TextToLong(text, &stop, &outOfRange));
    EXPECT_EQ(text + 5, stop);
    EXPECT_EQ(0, outOfRange);

    text = L"-7x";
    EXPECT_EQ(-7, TextToLong(text, &stop, &outOfRange));
    EXPECT_EQ(L'x', *stop);

    text = L"  abc";
    EXPECT_EQ(0, TextToLong(text, &stop, &outOfRange));
    EXPECT_EQ(text, stop);   // no digits: stops at the start, not after the blanks
    text = L"-";
    EXPECT_EQ(0, TextToLong(text, &stop, &outOfRange));
    EXPECT_EQ(text, stop);
}

TEST(TextToLong, ClampsAndReportsValuesOutsideThe32BitRange)
{
    int outOfRange = 0;
    EXPECT_EQ(2147483647, TextToLong(L"2147483647", nullptr, &outOfRange));
    EXPECT_EQ(0, outOfRange);
    EXPECT_EQ(2147483647, TextToLong(L"2147483648", nullptr, &outOfRange));
    EXPECT_EQ(1, outOfRange);
    EXPECT_EQ(-2147483647 - 1, TextToLong(L"-2147483648", nullptr, &outOfRange));
    EXPECT_EQ(0, outOfRange);
    const wchar_t *text = L"99999999999999999999.5";
    const wchar_t *stop = nullptr;
    EXPECT_EQ(2147483647, TextToLong(text, &stop, &outOfRange));
    EXPECT_EQ(1, outOfRange);
    EXPECT_EQ(L'.', *stop);
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
