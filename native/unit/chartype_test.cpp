/*
** The character classes of the native build: the white space and letters
** above U+00FF come from the table that stands in for the platform's call.
*/
#include "check.h"
#include "shim/chartype_table.h"
#include "frame/text.h"

NATIVE_TEST(SpacesAboveLatin1AreThoseOfThePlatform)
{
    const wchar_t spaces[] = {0x1680, 0x2000, 0x2003, 0x200A, 0x2028, 0x2029, 0x202F, 0x205F, 0x3000};
    const wchar_t others[] = {0x0100, 0x180E, 0x200B, 0x200C, 0x2060, 0x3001, 0xFEFF, 0xFF05, 0xD800,
                              0xDFFF, 0xFFFF};
    for (wchar_t unit : spaces) {
        CHECK_EQ(1, IsWhiteSpace(unit));
        CHECK_EQ(0, IsLetter(unit));
    }
    for (wchar_t unit : others) CHECK_EQ(0, IsWhiteSpace(unit));
}

NATIVE_TEST(LettersAboveLatin1AreThoseOfThePlatform)
{
    const wchar_t letters[] = {0x0100, 0x0416, 0x03B1, 0x05D0, 0x4E00, 0xAC00, 0xFF21, 0xFF5A};
    const wchar_t others[] = {0x02C2, 0x0660, 0x2014, 0x3000, 0xFF05, 0xFF10, 0xD800, 0xE000, 0xFFFF};
    for (wchar_t unit : letters) CHECK_EQ(1, IsLetter(unit));
    for (wchar_t unit : others) CHECK_EQ(0, IsLetter(unit));
}

NATIVE_TEST(TheTableLeavesLatin1ToTheTextHelpers)
{
    for (int unit = 0; unit <= 0xFF; unit++) CHECK_EQ(0, TableCharClass((wchar_t)unit));
    /* Every unit gets an answer, and never both classes at once. */
    for (int unit = 0x100; unit <= 0xFFFF; unit++) {
        int found = TableCharClass((wchar_t)unit);
        CHECK(found == 0 || found == CHAR_CLASS_SPACE || found == CHAR_CLASS_LETTER);
    }
}
