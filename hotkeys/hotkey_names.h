/*
** Hotkey names: the text form of a HotkeyCode that users type and read,
** modifier words joined to a key name by hyphens (Ctrl-Q, Alt-F4,
** Ctrl-Alt-Shift-F1).  Every operation works on the key table in use,
** chosen by UseExtendedKeys at the moment it runs.
*/
#ifndef TIRVALO_HOTKEY_NAMES_H
#define TIRVALO_HOTKEY_NAMES_H

#include "key_tables.h"

enum {
    HOTKEY_NAME_CAPACITY = 1024,   /* buffers for names and list lines */
    HOTKEY_TOKEN_LIMIT = 1023      /* units of one word a parse looks at */
};

/* The code a hotkey name stands for: positive, 0 when the text names no
** key, or the table's -1 or -2 for the combination.  Case of the ASCII
** letters is ignored; blanks are not skipped.  Allocates nothing. */
HotkeyCode ParseHotkeyName(const wchar_t *name);

/* Writes the name of code into buffer: 0, or -1 with "(unknown)" in the
** buffer when the table has no such code.  FormatHotkeyName (settings.h)
** names the hotkey in use. */
int FormatHotkeyCode(HotkeyCode code, wchar_t *buffer, int capacity);

/* 1 when code is a positive code of the table in use, else 0. */
int IsKnownHotkey(HotkeyCode code);

/* One line of the hotkey list, without its line end: the names of the
** row's usable cells, in column order, joined by a blank, U+00B7 and a
** blank. */
int FormatHotkeyListLine(const KeyTable *table, int row, wchar_t *buffer,
                         int capacity);

/* Prints the hotkey list, a line for every row of the table in use;
** always 0. */
int ListHotkeys(void);

#endif /* TIRVALO_HOTKEY_NAMES_H */
