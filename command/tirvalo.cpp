/*
** The tirvalo command: reports or changes the hotkey and the two display
** options, saves them to the registry or restores them from it, lists the
** hotkeys, prints its help, and shows the information window for files
** named with /F.
**
** The arguments are read in order, each option acting as it is read (so /C
** and /T keep their effect when a later argument fails); the rules about
** which options go together are checked once every argument was read.
*/
#include "frame/help.h"
#include "frame/host_api.h"
#include "frame/plugin.h"
#include "frame/version.h"
#include "fileinfo/fileinfo.h"
#include "hotkeys/hotkey_names.h"
#include "settings/settings.h"
#include "arguments.h"
#include "command.h"

enum { GO_ON = -1 };   /* an argument was read; read the next */

/* What the arguments of one call asked for. */
struct CommandRequest {
    HotkeyCode hotkey;       /* 0 until a key name is accepted */
    int save;
    int restore;
    int list;
    int setting;             /* /C, /T or a key name was accepted */
    int files;               /* /F arguments */
};

/* The words of the report line for each value of SmartTimes and
** SubdirCounts. */
static const wchar_t *const SmartTimesWords[SMART_TIMES_UTC + 1] = {L"OFF", L"ON", L"UTC"};
static const wchar_t *const SubdirCountsWords[2] = {L"OFF", L"ON"};

/* Writes an error message quoting argument (or none); the command's result
** for an error in its arguments. */
static int Refuse(const wchar_t *format, const wchar_t *argument)
{
    WriteErrorMessage(format, argument);
    return COMMAND_BAD_ARGUMENTS;
}

/* The file name of a /F argument: what follows "/F", and a ":" or "=" right
** after it. */
static const wchar_t *FileNameOf(const wchar_t *argument)
{
    const wchar_t *name = argument + 2;
    if (*name == L':' || *name == L'=') name++;
    return name;
}

/* Stores the value of a /C or /T argument in the option's field: GO_ON,
** or the command's result when the value is not valid. */
static int SetValueOption(const wchar_t *argument, int value, int *field,
                          CommandRequest *request)
{
    if (value < 0) return Refuse(L"Unknown suboption \"%s\"\r\n", argument);
    *field = value;
    request->setting = 1;
    return GO_ON;
}

/* Acts on an option by its second unit: GO_ON, or the command's result. */
static int ReadOption(const wchar_t *argument, CommandRequest *request)
{
    switch (argument[1]) {
    case L'?':
        QPuts(HelpText);
        if (argument[2] == L'?') {
            Printf(L"\r\n\t\t\t\t%s  %u.%u.%u.%u (%s)\r\n", PluginName,
                   (unsigned)TIRVALO_VERSION_MAJOR, (unsigned)TIRVALO_VERSION_MINOR,
                   (unsigned)TIRVALO_VERSION_BUILD, (unsigned)TIRVALO_VERSION_REVISION, L"x64");
        }
        return COMMAND_OK;
    case L'C':
        return SetValueOption(argument, ParseOnOff(argument), &Settings.SubdirCounts, request);
    case L'T':
        return SetValueOption(argument, ParseOffOnUtc(argument), &Settings.SmartTimes, request);
    case L'F':
        if (*FileNameOf(argument) == 0) return Refuse(L"Missing filename:  \"%s\"\r\n", argument);
        request->files++;
        return GO_ON;
    case L'L':
        request->list = 1;
        return GO_ON;
    case L'R':
        request->restore = 1;
        return GO_ON;
    case L'S':
        request->save = 1;
        return GO_ON;
    default:
        return Refuse(L"Unknown option \"%s\"\r\n", argument);
    }
}

/* Accepts the one key name of the command: GO_ON, or the command's result. */
static int ReadKeyName(const wchar_t *argument, CommandRequest *request)
{
    HotkeyCode code;

    if (request->hotkey != 0) return Refuse(L"Syntax error \"%s\"\r\n", argument);
    code = ParseHotkeyName(argument);
    if (code == HOTKEY_NONE) return Refuse(L"Unknown key name \"%s\"\r\n", argument);
    if (code == HOTKEY_INVALID) return Refuse(L"Invalid hotkey \"%s\"\r\n", argument);
    if (code == HOTKEY_NOT_ALLOWED) return Refuse(L"Key not allowed \"%s\"\r\n", argument);
    request->hotkey = code;
    request->setting = 1;
    return GO_ON;
}

/* Shows the window for the file of every /F argument, in order, going on
** after a failure: COMMAND_OK, or COMMAND_FAILED when any file failed. */
static int ShowFiles(void)
{
    int slot, result = COMMAND_OK;

    for (slot = 0; slot < ARGUMENT_SLOTS; slot++) {
        const wchar_t *argument = ArgumentTable[slot];
        if (ArgumentLengths[slot] == 0 || argument[0] != L'/' || argument[1] != L'F') continue;
        if (ShowFileInfo(FileNameOf(argument)) != 0) result = COMMAND_FAILED;
    }
    return result;
}

/* The word for value in a table of count words; empty for a value that no
** writer of Settings stores. */
static const wchar_t *ValueWord(const wchar_t *const *words, int count, int value)
{
    return value >= 0 && value < count ? words[value] : L"";
}

int tirvalo(const wchar_t *arguments)
{
    CommandRequest request = {0, 0, 0, 0, 0, 0};
    wchar_t name[HOTKEY_NAME_CAPACITY];
    int slot, result;

    if (arguments == 0) return COMMAND_NULL_TEXT;
    SplitArguments(arguments);
    for (slot = 0; slot < ARGUMENT_SLOTS; slot++) {
        const wchar_t *argument = ArgumentTable[slot];
        if (ArgumentLengths[slot] == 0) continue;
        result = argument[0] == L'/' ? ReadOption(argument, &request)
                                     : ReadKeyName(argument, &request);
        if (result != GO_ON) return result;
    }

    if (request.files != 0) {
        if (request.save || request.restore || request.list || request.setting) {
            return Refuse(L"Can\u2019t combine /F with other options\r\n", 0);
        }
        return ShowFiles();
    }
    if (request.save && request.restore) return Refuse(L"Can't combine /R and /S.\r\n", 0);
    if (request.restore && request.hotkey != 0) {
        return Refuse(L"Can't combine /R with a keyname.\r\n", 0);
    }
    if (request.list) {
        if (request.save || request.restore || request.hotkey != 0) {
            return Refuse(L"Can't combine /L with other options.\r\n", 0);
        }
        return ListHotkeys();
    }

    name[0] = 0;
    if (request.hotkey != 0) {
        Settings.Hotkey = request.hotkey;
        FormatHotkeyName(name, HOTKEY_NAME_CAPACITY);
        Printf(L"Tirvalo hotkey set to %s.\n", name);
    }
    if (request.save && SaveSettings() != 0) return COMMAND_FAILED;
    if (request.restore && LoadSettings(1) != 0) return COMMAND_FAILED;
    if (request.hotkey == 0) {
        FormatHotkeyName(name, HOTKEY_NAME_CAPACITY);
        Printf(L"Tirvalo hotkey is %s.\n", name);
    }
    Printf(L"Smart timestamps %s, subdir counts %s\n",
           ValueWord(SmartTimesWords, SMART_TIMES_UTC + 1, Settings.SmartTimes),
           ValueWord(SubdirCountsWords, 2, Settings.SubdirCounts));
    return COMMAND_OK;
}
