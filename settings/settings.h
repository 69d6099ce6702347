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

#endif /* TIRVALO_SETTINGS_H */
