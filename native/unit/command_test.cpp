/*
** The whole command with the host and the platform stood in for: hostile
** argument texts, every message, and what reaches ShowFileInfo.  Every
** format the command hands to the host goes through the stand-in, which
** stops on any conversion the plug-in does not use.
*/
#include "check.h"
#include "command/arguments.h"
#include "command/command.h"
#include "fileinfo/fileinfo.h"
#include "frame/help.h"
#include "frame/plugin.h"
#include "frame/text.h"
#include "settings/settings.h"
#include "shim/host_shim.h"
#include "support/units.h"

/* A text made of count copies of piece. */
static wchar_t *Copies(const wchar_t *piece, int count)
{
    int length = UnitCount(piece);
    wchar_t *text = NewUnits(length * count + 1);
    for (int i = 0; i < count; i++) {
        for (int j = 0; j < length; j++) text[i * length + j] = piece[j];
    }
    text[length * count] = 0;
    return text;
}

NATIVE_TEST(FormatConversionsInArgumentsAreQuotedAsText)
{
    ShimReset();
    CHECK_EQ(COMMAND_BAD_ARGUMENTS, tirvalo(L"/%n%s%x"));
    CHECK_TEXT(L"Tirvalo plugin: Unknown option \"/%N%S%X\"\r\n", ShimErrors);
    ShimReset();
    CHECK_EQ(COMMAND_BAD_ARGUMENTS, tirvalo(L"%s%d"));
    CHECK_TEXT(L"Tirvalo plugin: Unknown key name \"%S%D\"\r\n", ShimErrors);
    ShimReset();
    CHECK_EQ(COMMAND_BAD_ARGUMENTS, tirvalo(L"/c:%s"));
    CHECK_TEXT(L"Tirvalo plugin: Unknown suboption \"/C:%S\"\r\n", ShimErrors);
}

NATIVE_TEST(ALongArgumentIsQuotedAsStored)
{
    ShimReset();
    wchar_t *text = Copies(L"k", 5000);
    CHECK_EQ(COMMAND_BAD_ARGUMENTS, tirvalo(text));
    CHECK_EQ(1, ShimMessages);
    CHECK(ShimQuoted[0] == ArgumentTable[0]);
    CHECK_EQ(ARGUMENT_UNITS, UnitCount(ShimQuoted[0]));
    CHECK_EQ(16 + 18 + ARGUMENT_UNITS + 3, UnitCount(ShimErrors));
    FreeUnits(text);

    ShimReset();
    text = Copies(L"n", 5000);
    text[0] = L'/';
    text[1] = L'F';
    CHECK_EQ(COMMAND_OK, tirvalo(text));
    CHECK_EQ(1, ShimShown);
    CHECK(ShimShownNames[0] == ArgumentTable[0] + 2);
    CHECK_EQ(ARGUMENT_UNITS - 2, UnitCount(ShimShownNames[0]));
    FreeUnits(text);
}

NATIVE_TEST(ManyArgumentsAreReadUpTo128)
{
    ShimReset();
    wchar_t *text = Copies(L"/c:0 ", 130);
    CHECK_EQ(COMMAND_OK, tirvalo(text));
    CHECK_EQ(0, Settings.SubdirCounts);
    FreeUnits(text);

    /* 128 files shown, the 129th and 130th dropped with their arguments. */
    ShimReset();
    text = Copies(L"/f:a ", 130);
    CHECK_EQ(COMMAND_OK, tirvalo(text));
    CHECK_EQ(128, ShimShown);
    FreeUnits(text);

    /* 127 settings and a key name in the last slot; then one past it. */
    ShimReset();
    wchar_t *many = Copies(L"/t:1 ", 127);
    wchar_t *withKey = NewUnits(127 * 5 + 16);
    TextCopy(withKey, 127 * 5 + 16, many);
    TextAppend(withKey, 127 * 5 + 16, L"alt-i alt-j");
    CHECK_EQ(COMMAND_OK, tirvalo(withKey));
    CHECK_EQ(0x10017, Settings.Hotkey);
    CHECK_TEXT(L"Tirvalo hotkey set to Alt-I.\nSmart timestamps ON, subdir counts ON\n", ShimOutput);
    FreeUnits(withKey);
    FreeUnits(many);
}

NATIVE_TEST(EveryCombinationMessage)
{
    const struct {
        const wchar_t *arguments;
        int result;
        const wchar_t *errors;
    } cases[] = {
        {L"/f:a /s", COMMAND_BAD_ARGUMENTS, L"Tirvalo plugin: Can\u2019t combine /F with other options\r\n"},
        {L"/r /s", COMMAND_BAD_ARGUMENTS, L"Tirvalo plugin: Can't combine /R and /S.\r\n"},
        {L"/r ctrl-w", COMMAND_BAD_ARGUMENTS, L"Tirvalo plugin: Can't combine /R with a keyname.\r\n"},
        {L"/l /s", COMMAND_BAD_ARGUMENTS, L"Tirvalo plugin: Can't combine /L with other options.\r\n"},
        {L"ctrl-w alt-i", COMMAND_BAD_ARGUMENTS, L"Tirvalo plugin: Syntax error \"ALT-I\"\r\n"},
        {L"/f", COMMAND_BAD_ARGUMENTS, L"Tirvalo plugin: Missing filename:  \"/F\"\r\n"},
        {L"ctrl-c", COMMAND_BAD_ARGUMENTS, L"Tirvalo plugin: Invalid hotkey \"CTRL-C\"\r\n"},
        {L"q", COMMAND_BAD_ARGUMENTS, L"Tirvalo plugin: Key not allowed \"Q\"\r\n"},
        {L"/", COMMAND_BAD_ARGUMENTS, L"Tirvalo plugin: Unknown option \"/\"\r\n"},
        {L"/r", COMMAND_FAILED, L"Tirvalo plugin: Error reading from registry\r\n"},
    };
    for (const auto &c : cases) {
        ShimReset();
        CHECK_EQ(c.result, tirvalo(c.arguments));
        CHECK_TEXT(c.errors, ShimErrors);
    }
    ShimReset();
    ShimRegistryWriteFails = 1;
    CHECK_EQ(COMMAND_FAILED, tirvalo(L"ctrl-w /s"));
    CHECK_TEXT(L"Tirvalo hotkey set to Ctrl-W.\n", ShimOutput);
    CHECK_TEXT(L"Tirvalo plugin: Error writing to registry\r\n", ShimErrors);
    ShimReset();
    ShimShowResult = SHOW_NOT_FOUND;
    CHECK_EQ(COMMAND_FAILED, tirvalo(L"/f:a /f:b"));
    CHECK_EQ(2, ShimShown);
    CHECK_EQ(COMMAND_NULL_TEXT, tirvalo(0));
}

NATIVE_TEST(HelpAndVersionLines)
{
    ShimReset();
    CHECK_EQ(COMMAND_OK, tirvalo(L"/?? /x"));
    int helpLength = UnitCount(HelpText);
    CHECK(SameUnits(ShimOutput, HelpText, helpLength));
    CHECK_TEXT(L"\r\n\t\t\t\tTirvalo  1.4.0.4 (x64)\r\n", ShimOutput + helpLength);
    CHECK_TEXT(L"", ShimErrors);
}
