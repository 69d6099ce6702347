/*
** Loading: the export the host calls once after loading the library.  It
** decides whether the plug-in may run in this host, establishes the options
** every later call uses, and announces the plug-in with its hotkey.
*/
#include "host_api.h"
#include "hotkeys/hotkey_names.h"
#include "plugin.h"
#include "settings/settings.h"
#include "text.h"
#include "version.h"

/* 0 when the plug-in is ready, -1 when it refuses to run in this host. */
int InitializePlugin(void)
{
    wchar_t text[HOST_EXPAND_CAPACITY];

    ProbeHostVersion();
    if (CheckHostVersion() != 0) {
        WriteErrorMessage(L"Korrash v11.00.48 or higher required!\r\n", 0);
        return -1;
    }

    /* Missing, unreadable or invalid options are no error at load: the
    ** built-in defaults apply, all three together. */
    if (LoadSettings(0) != 0) {
        Settings.Hotkey = DefaultHotkey;
        Settings.SmartTimes = DefaultSmartTimes;
        Settings.SubdirCounts = DefaultSubdirCounts;
    }

    /* The message is for an interactive shell only: a transient shell, a
    ** pipe or the variable noloadmsg (any value) gives something other than
    ** exactly "00" and keeps it quiet. */
    ExpandHostText(text, L"%[_transient]%[_pipe]%[noloadmsg]");
    if (text[0] == L'0' && text[1] == L'0' && text[2] == 0) {
        FormatHotkeyName(text, HOST_EXPAND_CAPACITY);
        Printf(L"Tirvalo v%d.%d.%d loaded; hotkey is %s.\n", TIRVALO_VERSION_MAJOR,
               TIRVALO_VERSION_MINOR, TIRVALO_VERSION_BUILD, text);
    }
    return 0;
}
