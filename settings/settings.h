/*
** The three options that steer the plug-in, in one process-wide record, and
** their registry form.
*/
#ifndef TIRVALO_SETTINGS_H
#define TIRVALO_SETTINGS_H

struct SettingsRecord {
    int Hotkey;         /* the HotkeyCode that opens the information window */
    int SmartTimes;     /* timestamp style: 0 off, 1 on, 2 UTC */
    int SubdirCounts;   /* count a directory's contents: 0 off, 1 on */
};

enum {
    DefaultHotkey = 17,        /* Ctrl-Q */
    DefaultSmartTimes = 1,
    DefaultSubdirCounts = 1
};

/* Holds 17, 1, 1 from the moment the library is mapped. */
extern SettingsRecord Settings;

/* The key, under HKEY_CURRENT_USER (read and written) and under
** HKEY_LOCAL_MACHINE (read only, a fallback), that holds the REG_DWORD
** values "Hotkey", "SmartTimes" and "SubdirCounts". */
extern const wchar_t SettingsKeyPath[];

/*
** Reads the three options from the per-user key or, when that gives no
** "Hotkey", from the per-machine key, and stores them in Settings: 0, or
** one of the results below.  On failure Settings is left as it was, and
** with report nonzero the failure is written to standard error.
*/
int LoadSettings(int report);

/*
** Writes the three options to the per-user key, creating it and its parents
** when missing: 0, or SETTINGS_NOT_SAVED with a message on standard error
** when the key cannot be opened for writing or any value cannot be written.
*/
int SaveSettings(void);

enum {
    SETTINGS_NOT_FOUND = -1,        /* neither key gives a "Hotkey" of at most 4 bytes */
    SETTINGS_INVALID_HOTKEY = -2,   /* the hotkey read is not one of the key table in use */
    SETTINGS_NOT_SAVED = -1
};

#endif /* TIRVALO_SETTINGS_H */
