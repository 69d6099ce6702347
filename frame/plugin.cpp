/*
** The library's attach routine and the entry points that describe the
** plug-in to the host: GetPluginInfo, ShutdownPlugin, Usage and Help; and
** the prefix of every error message.
*/
#include <windows.h>

#include "host_api.h"
#include "help.h"
#include "platform.h"
#include "plugin.h"
#include "text.h"
#include "version.h"

const wchar_t PluginName[] = L"Tirvalo";

HINSTANCE g_instance = 0;

static PluginInfo Info;

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) g_instance = instance;
    return TRUE;
}

PluginInfo *GetPluginInfo(void)
{
    Info.name = PluginName;
    Info.author = L"Velm Plugins";
    Info.email = L"tirvalo@velm.example";
    Info.webPage = L"https://velm.example/tirvalo";
    Info.secondName = PluginName;
    Info.implements = L"*key,tirvalo";
    Info.major = TIRVALO_VERSION_MAJOR;
    Info.minor = TIRVALO_VERSION_MINOR;
    Info.build = TIRVALO_VERSION_BUILD;
    return &Info;
}

int ShutdownPlugin(int endOfSession)
{
    (void)endOfSession;
    return 0;
}

int Usage(const wchar_t *command, wchar_t *result)
{
    if (command == 0 || result == 0 || !TextEqualNoCase(command, L"tirvalo")) return 0;
    CopyUsageText(result, USAGE_CAPACITY);
    return 1;
}

int Help(const wchar_t *command)
{
    WindowDpi dpi;

    if (command == 0 || !TextEqualNoCase(command, L"tirvalo")) return 0;
    /* Where no window can be seen a message box would never close: the
    ** help goes to standard output, as /? writes it. */
    if (!CanShowWindows()) {
        QPuts(HelpText);
        return -1;
    }
    /* The box disables its owner while it is open, which waits for the
    ** owner's thread: a window that does not answer is no owner.  It is
    ** drawn in the display's own DPI. */
    EnterWindowDpi(&dpi);
    MessageBoxW(AnsweringForegroundWindow(), HelpText, PluginName,
                MB_ICONINFORMATION | MB_SETFOREGROUND);
    LeaveWindowDpi(&dpi);
    return -1;
}

int WriteErrorPrefix(void)
{
    wchar_t text[HOST_EXPAND_CAPACITY];
    HANDLE errors = GetStdHandle(STD_ERROR_HANDLE);

    Qprintf(errors, L"%s plugin: ", PluginName);
    if (ExpandHostText(text, L"%_batch") != 0 || text[0] == L'0') return 0;

    /* The batch file's name and line come from the host as they are: they
    ** are written as plain text, never used as a format.  An expansion that
    ** failed would show the variables' own names: nothing is written then. */
    if (ExpandHostText(text, L"%_batchname [%_batchline]  ") != 0) return 0;
    Qprintf(errors, L"%s", text);
    return 0;
}

int WriteErrorMessage(const wchar_t *format, const wchar_t *argument)
{
    WriteErrorPrefix();
    Qprintf(GetStdHandle(STD_ERROR_HANDLE), format, argument);
    return 0;
}
