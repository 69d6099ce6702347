/*
** How the shell hands a keystroke on the command line to a plug-in's
** keystroke handler: the record, in the host's layout, and the key code (or,
** on hosts of version 24 and above, the key name) the shell gives for a
** console key event.
*/
#ifndef KORRASH_KEYSTROKE_H
#define KORRASH_KEYSTROKE_H

#include <windows.h>

#include <cstddef>
#include <string>

struct KeystrokeRecord {
    int keyCode;              /* in: the host's code, or 0 with a key name; out: 0 when consumed */
    char hostFields[20];
    const wchar_t *line;      /* the command line being edited */
    const wchar_t *cursor;    /* the unit at the cursor, or the line's terminator */
    char hostField[8];
    wchar_t *keyName;         /* hosts of version 24 and above: the key's name, or null */
};
static_assert(offsetof(KeystrokeRecord, line) == 24, "host layout");
static_assert(offsetof(KeystrokeRecord, cursor) == 32, "host layout");
static_assert(offsetof(KeystrokeRecord, keyName) == 48, "host layout");

typedef int (*KeystrokeHandler)(KeystrokeRecord *record);

/* A keystroke as the shell delivers it: a code, or (name not empty) code 0
** and a name in the hotkey-name form. */
struct HostKeystroke {
    int code = 0;
    std::wstring name;
};

/*
** The keystroke for a key-down event of the console, or false for events
** that are no keystroke (key releases, modifier keys alone).  With keyNames
** set (a host of version 24 or above), keystrokes that have no code of the
** older hosts are delivered by name.
*/
bool TranslateKeyEvent(const KEY_EVENT_RECORD &event, bool keyNames, HostKeystroke *keystroke);

#endif
