/*
** The options in the registry: three REG_DWORD values in one key, read per
** user with a per-machine fallback, written per user.
*/
#include <windows.h>

#include "frame/plugin.h"
#include "hotkeys/hotkey_names.h"
#include "settings.h"

/* The value a work value starts from: what a missing value leaves. */
enum { UNREAD_VALUE = (int)0xFFFF0000 };

/*
** Reads a value of at most 4 bytes over the low-order bytes of *work, in
** memory order, whatever its registry type; 1 when read.  A value that is
** missing or longer leaves *work as it was.  Only the bytes the value holds
** are taken: after a short text value the platform also writes a
** terminator into the buffer, which must not replace a byte of *work.
*/
static int QueryValue(HKEY key, const wchar_t *name, int *work)
{
    unsigned char bytes[sizeof *work];
    DWORD size = sizeof bytes;
    DWORD i;
    if (RegQueryValueExW(key, name, 0, 0, bytes, &size) != ERROR_SUCCESS) return 0;
    for (i = 0; i < size && i < sizeof bytes; i++) ((unsigned char *)work)[i] = bytes[i];
    return 1;
}

/*
** One attempt on root's key: 1 when the key opens and gives "Hotkey"; only
** then are the other two values read, so that all three come from one key.
*/
static int ReadSettingsKey(HKEY root, int work[3])
{
    HKEY key;
    int found = 0;

    if (RegOpenKeyExW(root, SettingsKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
    if (QueryValue(key, SettingsValueNames[0], &work[0])) {
        found = 1;
        QueryValue(key, SettingsValueNames[1], &work[1]);
        QueryValue(key, SettingsValueNames[2], &work[2]);
    }
    RegCloseKey(key);
    return found;
}

int LoadSettings(int report)
{
    int work[3] = {UNREAD_VALUE, UNREAD_VALUE, UNREAD_VALUE};

    if (!ReadSettingsKey(HKEY_CURRENT_USER, work) && !ReadSettingsKey(HKEY_LOCAL_MACHINE, work)) {
        if (report) WriteErrorMessage(L"Error reading from registry\r\n", 0);
        return SETTINGS_NOT_FOUND;
    }
    /* A per-user hotkey that fails here is final: the per-machine key is
    ** only a fallback for a missing one. */
    if (!IsKnownHotkey(work[0])) {
        if (report) WriteErrorMessage(L"Invalid hotkey value in registry\r\n", 0);
        return SETTINGS_INVALID_HOTKEY;
    }
    Settings.Hotkey = work[0];
    Settings.SmartTimes = (unsigned)work[1] <= SMART_TIMES_UTC ? work[1] : DefaultSmartTimes;
    Settings.SubdirCounts = work[2] != 0 ? 1 : 0;
    return 0;
}

/*
** A failed write of any value is a failure of the whole save, so that the
** command never reports as saved options that the registry does not hold.
*/
int SaveSettings(void)
{
    const int *fields[3] = {&Settings.Hotkey, &Settings.SmartTimes, &Settings.SubdirCounts};
    HKEY key;
    int i;

    if (RegCreateKeyExW(HKEY_CURRENT_USER, SettingsKeyPath, 0, 0, 0, KEY_WRITE, 0, &key, 0) !=
        ERROR_SUCCESS) {
        WriteErrorMessage(L"Error opening registry key\r\n", 0);
        return SETTINGS_NOT_SAVED;
    }
    for (i = 0; i < SETTINGS_VALUE_COUNT; i++) {
        if (RegSetValueExW(key, SettingsValueNames[i], 0, REG_DWORD, (const BYTE *)fields[i],
                           sizeof *fields[i]) != ERROR_SUCCESS) {
            WriteErrorMessage(L"Error writing to registry\r\n", 0);
            RegCloseKey(key);
            return SETTINGS_NOT_SAVED;
        }
    }
    RegCloseKey(key);
    return 0;
}
