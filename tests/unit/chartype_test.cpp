// The table that stands in for the platform's character classification in
// the native build holds Windows' answers, and agrees with the platform's
// call for every unit above U+00FF; but for the marks that Windows counts
// as letters, which Wine counts so from Wine 10 on and Wine 8 does not: for
// those the table says letter, and the platform letter or nothing.  When
// they disagree, the test prints the ranges the platform gives, in the form
// of the table in native/shim/chartype_table.cpp.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "native/shim/chartype_table.h"
#include "frame/text.h"

namespace {

// The ranges of units from U+0100 on that have exactly the class wanted.
std::string PlatformRanges(int wanted)
{
    std::string ranges;
    int start = -1, count = 0;
    for (int unit = 0x100; unit <= 0x10000; unit++) {
        bool in = unit <= 0xFFFF && PlatformCharClass((wchar_t)unit) == wanted;
        if (in && start < 0) start = unit;
        if (!in && start >= 0) {
            char range[32];
            snprintf(range, sizeof range, "{0x%04X, 0x%04X},%s", start, unit - 1,
                     ++count % 5 == 0 ? "\n" : " ");
            ranges += range;
            start = -1;
        }
    }
    return ranges;
}

// Marks of Thai and Mongolian that Windows counts as letters.
const struct {
    int first, last;
} MarksWindowsCallLetters[] = {{0x0E31, 0x0E31}, {0x0E34, 0x0E3A}, {0x0E47, 0x0E4E}, {0x1885, 0x1886}};

bool MarkWindowsCallsALetter(int unit)
{
    for (const auto &range : MarksWindowsCallLetters) {
        if (unit >= range.first && unit <= range.last) return true;
    }
    return false;
}

TEST(CharacterTable, AgreesWithThePlatformForEveryUnitAboveLatin1)
{
    int differences = 0;
    for (int unit = 0x100; unit <= 0xFFFF; unit++) {
        int platform = PlatformCharClass((wchar_t)unit);
        int table = TableCharClass((wchar_t)unit);
        bool agree = MarkWindowsCallsALetter(unit)
                         ? table == CHAR_CLASS_LETTER && (platform == CHAR_CLASS_LETTER || platform == 0)
                         : platform == table;
        if (!agree && differences++ < 10) {
            ADD_FAILURE() << std::hex << "U+" << unit << ": platform " << platform << ", table " << table;
        }
    }
    EXPECT_EQ(0, differences);
    if (differences != 0) {
        printf("Spaces:\n%s\nLetters:\n%s\n", PlatformRanges(CHAR_CLASS_SPACE).c_str(),
               PlatformRanges(CHAR_CLASS_LETTER).c_str());
    }
}

}  // namespace
