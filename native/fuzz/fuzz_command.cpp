/*
** Fuzz target: the whole tirvalo command, with the host's output, the
** registry and the information window stood in for (shim/host_shim.h).
** Input: a setup byte (bit 0: the classic key table; bit 1: every window
** fails; bit 2: the registry holds options; bit 3: writing the registry
** fails), then the argument text.
**
** After every call: the result is 0, 1 or 2; every stored argument is
** upper-cased, at most 2048 units and terminated; the options stay in their
** ranges; an error message quotes a stored argument or nothing, and the
** result is 1 exactly when an argument error was written; windows are shown
** only for /F arguments, with the name that follows "/F", "/F:" or "/F=".
** The stand-in output stops the program on any format conversion the
** plug-in does not use, so no argument ever reaches a format.
*/
#include "command/arguments.h"
#include "command/command.h"
#include "fileinfo/fileinfo.h"
#include "frame/plugin.h"
#include "frame/text.h"
#include "fuzz_input.h"
#include "hotkeys/hotkey_names.h"
#include "settings/settings.h"
#include "shim/host_shim.h"

/* The slot whose text starts at text, or -1. */
static int SlotOf(const wchar_t *text)
{
    const wchar_t *first = &ArgumentTable[0][0];
    long distance = (long)(text - first);
    if (distance < 0 || distance % (ARGUMENT_UNITS + 1) != 0) return -1;
    distance /= ARGUMENT_UNITS + 1;
    return distance < ARGUMENT_SLOTS ? (int)distance : -1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input = {data, size, 0};
    int setup = TakeByte(&input);
    int length;
    wchar_t *arguments = TakeText(&input, &length);

    ShimReset();
    UseExtendedKeys = (setup & 1) ? 0 : 1;
    ShimShowResult = (setup & 2) ? SHOW_NOT_FOUND : 0;
    ShimRegistryHasOptions = (setup & 4) != 0;
    ShimRegistryOptions.Hotkey = (setup & 16) ? 0x7005E : 0x10017;   /* the extended table alone has the first */
    ShimRegistryOptions.SmartTimes = (setup >> 5) & 3;
    ShimRegistryOptions.SubdirCounts = (setup >> 7) & 1;
    ShimRegistryWriteFails = (setup & 8) != 0;

    int result = tirvalo(arguments);
    REQUIRE(result == COMMAND_OK || result == COMMAND_BAD_ARGUMENTS || result == COMMAND_FAILED);

    int files = 0;
    for (int slot = 0; slot < ARGUMENT_SLOTS; slot++) {
        int stored = ArgumentLengths[slot];
        REQUIRE(stored >= 0 && stored <= ARGUMENT_UNITS && ArgumentTable[slot][stored] == 0);
        REQUIRE(UnitCount(ArgumentTable[slot]) == stored);
        for (int i = 0; i < stored; i++) {
            REQUIRE(!(ArgumentTable[slot][i] >= L'a' && ArgumentTable[slot][i] <= L'z'));
        }
        if (stored >= 2 && ArgumentTable[slot][0] == L'/' && ArgumentTable[slot][1] == L'F') files++;
    }

    REQUIRE(IsKnownHotkey(Settings.Hotkey));
    REQUIRE(Settings.SmartTimes >= 0 && Settings.SmartTimes <= 2);
    REQUIRE(Settings.SubdirCounts == 0 || Settings.SubdirCounts == 1);

    /* Messages: each quotes a whole stored argument or nothing; an error in
    ** the arguments is one message and result 1. */
    int messages = ShimMessages < SHIM_SHOWN_NAMES ? ShimMessages : SHIM_SHOWN_NAMES;
    for (int i = 0; i < messages; i++) {
        if (ShimQuoted[i] != 0) REQUIRE(SlotOf(ShimQuoted[i]) >= 0);
    }
    if (result == COMMAND_BAD_ARGUMENTS) REQUIRE(ShimMessages == 1 && ShimShown == 0);
    if (result == COMMAND_OK) REQUIRE(ShimMessages == 0);
    REQUIRE(ShimMessages <= 1);
    int errorsLength = UnitCount(ShimErrors);
    if (errorsLength > 0) {
        REQUIRE(ShimErrors[errorsLength - 2] == L'\r' && ShimErrors[errorsLength - 1] == L'\n');
    }

    /* Windows: only for /F arguments, every one of them, in order. */
    if (ShimShown > 0) {
        REQUIRE(ShimShown == files);
        int shown = 0;
        for (int slot = 0; slot < ARGUMENT_SLOTS && shown < ShimShown; slot++) {
            const wchar_t *argument = ArgumentTable[slot];
            if (ArgumentLengths[slot] < 2 || argument[0] != L'/' || argument[1] != L'F') continue;
            int skip = argument[2] == L':' || argument[2] == L'=' ? 3 : 2;
            REQUIRE(ShimShownNames[shown] == argument + skip);
            REQUIRE(argument[skip] != 0);
            shown++;
        }
        REQUIRE(result == ((setup & 2) ? 2 : 0));
    }
    FreeUnits(arguments);
    return 0;
}
