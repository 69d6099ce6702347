/*
** The keystroke handler the host calls for every keystroke on the command
** line, and the routine that shows the window for the word at the cursor.
*/
#ifndef TIRVALO_KEYSTROKE_H
#define TIRVALO_KEYSTROKE_H

#include <stddef.h>

/* The fields of the host's record that the handler uses, at their offsets
** (the layout is the host's, with 64-bit pointers). */
struct KeystrokeRecord {
    int keyCode;                    /* in: the host's code, or 0 with a key name; out: 0 when consumed */
    unsigned char hostFields[20];
    const wchar_t *line;            /* the command line being edited */
    const wchar_t *cursor;          /* the unit at the cursor, or the line's terminator */
    unsigned char hostField[8];
    wchar_t *keyName;               /* newer hosts: the key's name, or null; cleared when consumed */
};
static_assert(offsetof(KeystrokeRecord, line) == 24, "host layout");
static_assert(offsetof(KeystrokeRecord, cursor) == 32, "host layout");
static_assert(offsetof(KeystrokeRecord, keyName) == 48, "host layout");

extern "C" int key(KeystrokeRecord *record);

/* Shows the information window for the word at the cursor: the result of
** ShowFileInfo, or -1 when either pointer is null. */
int FindWordAtCursor(const wchar_t *line, const wchar_t *cursor);

#endif /* TIRVALO_KEYSTROKE_H */
