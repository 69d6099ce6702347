// The command's argument splitter and the parsers of its /C and /T values;
// what the command does with them is tested end to end, through the shell.
// Arguments at and past their limits are tested in the native build, under
// the sanitizers (native/unit/arguments_test.cpp).
#include <string>
#include <vector>

#include "command/arguments.h"
#include "command/command.h"
#include "tests/support/console_state.h"
#include "frame/text.h"

namespace {

// The arguments of the last split, after checking that they stand in
// consecutive slots from slot 0 with their lengths and terminators.
std::vector<std::wstring> Split(const std::wstring &text)
{
    std::vector<std::wstring> arguments;
    SplitArguments(text.c_str());
    bool ended = false;
    for (int slot = 0; slot < ARGUMENT_SLOTS; slot++) {
        int length = ArgumentLengths[slot];
        EXPECT_TRUE(length >= 0 && length <= ARGUMENT_UNITS);
        EXPECT_EQ(length, TextLength(ArgumentTable[slot])) << slot;
        if (length == 0) {
            ended = true;
            continue;
        }
        EXPECT_FALSE(ended) << "a gap before slot " << slot;
        arguments.push_back(ArgumentTable[slot]);
    }
    return arguments;
}

typedef std::vector<std::wstring> Arguments;

TEST(SplitArguments, BlanksSeparateAndLettersAreUpperCased)
{
    EXPECT_EQ((Arguments{L"CTRL-W", L"/S"}), Split(L"ctrl-w /s"));
    EXPECT_EQ((Arguments{L"A", L"B"}), Split(L"  a\tb \r\n"));
    EXPECT_EQ((Arguments{L"A", L"B"}), Split(L"a\u00A0b"));
    EXPECT_EQ((Arguments{L"A", L"B"}), Split(L"a\u3000b"));           // classed as space
    EXPECT_EQ((Arguments{L"\u00E9T\u00C9"}), Split(L"\u00e9t\u00c9"));   // only a to z change
    EXPECT_EQ(Arguments{}, Split(L""));
    EXPECT_EQ(Arguments{}, Split(L" \t "));
    EXPECT_EQ(Arguments{}, Split(L"\"\""));
    SplitArguments(nullptr);
    EXPECT_EQ(0, ArgumentLengths[0]);
}

TEST(SplitArguments, ASlashStartsANewArgumentOnlyAfterAnOption)
{
    EXPECT_EQ((Arguments{L"/C:ON", L"/T:UTC"}), Split(L"/c:on/t:utc"));
    EXPECT_EQ((Arguments{L"/S", L"/R"}), Split(L"/s/r"));
    EXPECT_EQ((Arguments{L"/", L"/X"}), Split(L"//x"));
    EXPECT_EQ((Arguments{L"/F:C:", L"/DIR", L"/X.TXT"}), Split(L"/f:c:/dir/x.txt"));
    EXPECT_EQ((Arguments{L"ABC/DEF"}), Split(L"abc/def"));
}

TEST(SplitArguments, QuotesGroupAndVanish)
{
    EXPECT_EQ((Arguments{L"/F:C:/MY DIR/X.TXT"}), Split(L"/f:\"c:/my dir/x.txt\""));
    EXPECT_EQ((Arguments{L"AB"}), Split(L"a\"\"b"));
    EXPECT_EQ((Arguments{L"A\tB\u00A0C"}), Split(L"\"a\tb\u00A0c\""));
    EXPECT_EQ((Arguments{L"X", L"A B /C"}), Split(L"x \"a b /c"));     // never closed
}

TEST(SplitArguments, ALaterShorterCallEmptiesWhatAnEarlierOneLeft)
{
    EXPECT_EQ(3u, Split(L"a b c").size());
    EXPECT_EQ((Arguments{L"ONE"}), Split(L"one"));
}

TEST(OptionValues, DigitsMayFollowTheLetterWordsNeedTheSeparator)
{
    const int NO = OPTION_NO_VALUE;
    struct {
        const wchar_t *text;
        int onOff, offOnUtc;
    } cases[] = {
        {L"/C:0", 0, 0}, {L"/C:1", 1, 1}, {L"/T:2", NO, 2}, {L"/C0", 0, 0}, {L"/C1", 1, 1},
        {L"/T2", NO, 2}, {L"/C=OFF", 0, 0}, {L"/C:on", 1, 1}, {L"/T:UtC", NO, 2},
        {L"/CON", NO, NO}, {L"/C", NO, NO}, {L"/C:", NO, NO}, {L"/T:3", NO, NO},
        {L"/C::1", NO, NO}, {L"/C:01", NO, NO}, {L"/C:1 ", NO, NO}, {L"/C:ONE", NO, NO},
        {L"/COFF:1", 1, 1}, {L"/C\u00E9:1", 1, 1}, {L"/C\u03A9:0", 0, 0}, {L"/C\u00D7:1", NO, NO},
        {L"C:1", 1, 1}, {L"1", 1, 1}, {L"", NO, NO},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(c.onOff, ParseOnOff(c.text)) << c.text;
        EXPECT_EQ(c.offOnUtc, ParseOffOnUtc(c.text)) << c.text;
    }
    EXPECT_EQ(OPTION_NO_VALUE, ParseOnOff(nullptr));
    EXPECT_EQ(OPTION_NO_VALUE, ParseOffOnUtc(nullptr));
}

using CommandTest = ConsoleTest;

TEST_F(CommandTest, NullArgumentsGiveMinusOneAndNoOutput)
{
    EXPECT_EQ(COMMAND_NULL_TEXT, tirvalo(nullptr));
    EXPECT_EQ(L"", Out());
    EXPECT_EQ(L"", Err());
}

}  // namespace
