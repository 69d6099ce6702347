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
** The tables are constant data.  The operations on hotkey names read them
** through a KeyTableDescription, so that one implementation serves both
** layouts.  Text only: no platform header.
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
    CLASSIC_NAME_FIELD = 8,      /* units, terminator included */
    CLASSIC_ALIAS_COUNT = 17,

    EXTENDED_KEY_ROWS = 72,
    EXTENDED_KEY_COLUMNS = 7,
    EXTENDED_NAME_FIELD = 10,
    EXTENDED_ALIAS_COUNT = 25,

    ALIAS_FIELD = 16,
    MODIFIER_COLUMNS = 7,
    PREFIX_FIELD = 16
};

struct ClassicKeyRow {
    wchar_t name[CLASSIC_NAME_FIELD];
    HotkeyCode cells[CLASSIC_KEY_COLUMNS];
};

struct ClassicKeyAlias {
    wchar_t alias[ALIAS_FIELD];
    wchar_t canonical[CLASSIC_NAME_FIELD];
};

struct ClassicKeyTableData {
    ClassicKeyRow rows[CLASSIC_KEY_ROWS];
    ClassicKeyAlias KeyAliases[CLASSIC_ALIAS_COUNT];
};

struct ExtendedKeyRow {
    wchar_t name[EXTENDED_NAME_FIELD];
    HotkeyCode cells[EXTENDED_KEY_COLUMNS];
};

struct ExtendedKeyAlias {
    wchar_t alias[ALIAS_FIELD];
    wchar_t canonical[EXTENDED_NAME_FIELD];
};

struct ExtendedKeyTableData {
    ExtendedKeyRow rows[EXTENDED_KEY_ROWS];
    ExtendedKeyAlias KeyAliases[EXTENDED_ALIAS_COUNT];
};

extern const ClassicKeyTableData ClassicKeyTable;
extern const ExtendedKeyTableData ExtendedKeyTable;

/* The prefix of each column's hotkey names, "" to "Ctrl-Alt-Shift-". */
extern const wchar_t ModifierPrefixes[MODIFIER_COLUMNS][PREFIX_FIELD];

/*
** What the operations on hotkey names need of a table: its size, and where
** its rows and alias entries lie.  A row starts with its name and holds its
** cells at cellOffset; an alias entry starts with its alias text and holds
** its canonical name at canonicalOffset.  Offsets and sizes are in bytes.
*/
struct KeyTableDescription {
    int rowCount;
    int columnCount;
    const void *rows;
    int rowSize;
    int cellOffset;
    int aliasCount;
    const void *aliases;
    int aliasSize;
    int canonicalOffset;
};

extern const KeyTableDescription ClassicKeyTableDescription;
extern const KeyTableDescription ExtendedKeyTableDescription;

/* The table in use: the extended one when UseExtendedKeys is set. */
const KeyTableDescription *ActiveKeyTable(void);

/* Reading a table.  Rows, columns and entries are not checked. */
const wchar_t *KeyName(const KeyTableDescription *table, int row);
HotkeyCode KeyCell(const KeyTableDescription *table, int row, int column);
const wchar_t *KeyAliasText(const KeyTableDescription *table, int entry);
const wchar_t *KeyAliasCanonical(const KeyTableDescription *table, int entry);

/* The column of a set of modifiers in the table, or -1 when the table has
** none (Shift with Alt; all three in the classic table). */
int ModifierColumn(const KeyTableDescription *table, ModifierSet modifiers);

#endif /* TIRVALO_KEY_TABLES_H */
