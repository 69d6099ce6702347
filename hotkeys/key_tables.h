/*
** The key tables: the plug-in's whole vocabulary of hotkeys.
**
** For every key that can take part in a hotkey a table gives the key's name
** and, for each supported combination of modifiers (a column), either the
** code the keystroke handler forms for that keystroke or a mark that the
** combination cannot be a hotkey.  ClassicKeyTable serves hosts of major
** version 23 and lower; ExtendedKeyTable serves version 24 and higher and
** adds a Ctrl-Alt-Shift column.  UseExtendedKeys picks one at every call.
**
** The tables are constant data, both of one row type, so that one
** implementation of each operation on hotkey names serves both.  Text only:
** no platform header.
*/
#ifndef TIRVALO_KEY_TABLES_H
#define TIRVALO_KEY_TABLES_H

/*
** A hotkey code: the host's code for a keystroke (the bits below 0x20000)
** plus the plug-in's marker bits for modifier combinations.  Positive codes
** are usable hotkeys; 0 names no key; the tables use -1 for a combination
** that is unusable and -2 for one that is not allowed.
*/
typedef int HotkeyCode;

enum {
    HOTKEY_NONE = 0,
    HOTKEY_INVALID = -1,
    HOTKEY_NOT_ALLOWED = -2
};

/* Marker bits added to the host's code while Ctrl+Shift or Ctrl+Alt (both:
** Ctrl+Alt+Shift, extended hosts only) are held. */
enum {
    HOTKEY_CTRL_SHIFT_BIT = 0x20000,
    HOTKEY_CTRL_ALT_BIT = 0x40000
};

/* The modifiers named in a hotkey name. */
typedef int ModifierSet;
enum {
    MODIFIER_SHIFT = 1,
    MODIFIER_CTRL = 2,
    MODIFIER_ALT = 4
};

enum {
    CLASSIC_KEY_ROWS = 74,
    CLASSIC_KEY_COLUMNS = 6,
    CLASSIC_ALIAS_COUNT = 17,

    EXTENDED_KEY_ROWS = 72,
    EXTENDED_KEY_COLUMNS = 7,
    EXTENDED_ALIAS_COUNT = 25,

    MODIFIER_COLUMNS = 7,
    KEY_NAME_FIELD = 10,     /* units, terminator included: the extended names' field */
    ALIAS_FIELD = 16,
    PREFIX_FIELD = 16
};

/*
** One row: a key's name and its cell in every column.  Both tables use this
** row: the classic table's names have at most 7 units, and its rows leave
** the last cell, Ctrl-Alt-Shift, 0 and unread.
*/
struct KeyRow {
    wchar_t name[KEY_NAME_FIELD];
    HotkeyCode cells[MODIFIER_COLUMNS];
};

/* An alias: a name a user may type for a key, and the key's own name. */
struct KeyAlias {
    wchar_t alias[ALIAS_FIELD];
    wchar_t canonical[KEY_NAME_FIELD];
};

/* A table: its rows and its alias entries, in order, and how many columns
** its rows use. */
struct KeyTable {
    int rowCount;
    int columnCount;
    const KeyRow *rows;
    int aliasCount;
    const KeyAlias *KeyAliases;
};

extern const KeyTable ClassicKeyTable;
extern const KeyTable ExtendedKeyTable;

/* The prefix of each column's hotkey names, "" to "Ctrl-Alt-Shift-". */
extern const wchar_t ModifierPrefixes[MODIFIER_COLUMNS][PREFIX_FIELD];

/* The table in use: the extended one when UseExtendedKeys is set. */
const KeyTable *ActiveKeyTable(void);

/* The column of a set of modifiers in the table, or -1 when the table has
** none (Shift with Alt; all three in the classic table). */
int ModifierColumn(const KeyTable *table, ModifierSet modifiers);

#endif /* TIRVALO_KEY_TABLES_H */
