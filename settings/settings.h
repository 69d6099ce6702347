/*
** The three options that steer the plug-in, in one process-wide record, and
** their registry form.  The settings stand above the hotkeys: a stored
** hotkey is checked against the key table in use, and the hotkey's name is
** that of the code the settings hold.
*/
#ifndef TIRVALO_SETTINGS_H
#define TIRVALO_SETTINGS_H

struct SettingsRecord {
    int Hotkey;         /* the HotkeyCode that opens the information window */
    int SmartTimes;     /* timestamp style: one of SMART_TIMES_* */
    int SubdirCounts;   /* count a directory's contents: 0 off, 1 on */
};

/* The timestamp styles.  OFF and ON both show local time; UTC shows the
** times as stored, in a fixed form. */
enum {
    SMART_TIMES_OFF = 0,
    SMART_TIMES_ON = 1,
    SMART_TIMES_UTC = 2
};

enum {
    DefaultHotkey = 17,                   /* Ctrl-Q */
    DefaultSmartTimes = SMART_TIMES_ON,
    DefaultSubdirCounts = 1
};

/* Holds the defaults from the moment the library is mapped. */
extern SettingsRecord Settings;

/* 17, 1, 1: what a load without usable stored options leaves in Settings. */
extern const SettingsRecord DefaultSettings;

/* The key, under HKEY_CURRENT_USER (read and written) and under
** HKEY_LOCAL_MACHINE (read only, a fallback), that holds the options. */
extern const wchar_t SettingsKeyPath[];

/* The names of its REG_DWORD values, in the order of the record's fields:
** "Hotkey", "SmartTimes", "SubdirCounts". */
enum { SETTINGS_VALUE_COUNT = 3 };
extern const wchar_t *const SettingsValueNames[SETTINGS_VALUE_COUNT];

/* Writes the name of the Hotkey of Settings into buffer: 0, or -1 with
** "(unknown)" in the buffer when the table in use has no such code. */
int FormatHotkeyName(wchar_t *buffer, int capacity);

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
