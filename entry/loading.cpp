/*
** Loading: the export the host calls once after loading the library.  It
** decides whether the plug-in may run in this host, establishes the options
** every later call uses, and announces the plug-in with its hotkey.
*/
#include "frame/host_api.h"
#include "frame/plugin.h"
#include "frame/version.h"
#include "settings/settings.h"
#include "entry.h"

int InitializePlugin(void)
{
    wchar_t text[HOST_EXPAND_CAPACITY];

    ProbeHostVersion();
    if (CheckHostVersion() != HOST_ACCEPTED) {
        WriteErrorMessage(L"Korrash v11.00.48 or higher required!\r\n", 0);
        return -1;
    }

    /* Missing, unreadable or invalid options are no error at load: the
    ** built-in defaults apply, all three together. */
    if (LoadSettings(0) != 0) Settings = DefaultSettings;

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
