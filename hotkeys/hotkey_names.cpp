/*
** Conversion between hotkey names and codes over a key table, and the
** lines of the hotkey list.  Text only: no platform header, so that
** the parser, which an extended host runs on every keystroke, can also be
** built natively for sanitizers and fuzzers.
*/
#include "frame/text.h"
#include "hotkey_names.h"

/* The words that may stand before a hyphen, and the modifier of each. */
static const struct {
    const wchar_t *word;
    ModifierSet modifier;
} ModifierWords[] = {
    {L"s", MODIFIER_SHIFT},
    {L"shift", MODIFIER_SHIFT},
    {L"c", MODIFIER_CTRL},
    {L"ctl", MODIFIER_CTRL},
    {L"ctrl", MODIFIER_CTRL},
    {L"control", MODIFIER_CTRL},
    {L"a", MODIFIER_ALT},
    {L"alt", MODIFIER_ALT},
};

/* The modifier a word names, or 0 when it names none. */
static ModifierSet ModifierOfWord(const wchar_t *word, int length)
{
    int i;
    for (i = 0; i < (int)(sizeof ModifierWords / sizeof ModifierWords[0]); i++) {
        if (TextEqualNoCaseSpan(word, length, ModifierWords[i].word)) {
            return ModifierWords[i].modifier;
        }
    }
    return 0;
}

/*
** The name is read as words, each ended by a hyphen, and a last word, the
** key.  A hyphen that comes while the current word is still empty belongs
** to the word, so "Ctrl--" is Ctrl with the key "-", while "Num-" is read as
** the unknown modifier "Num".  A word always lies in one piece of the name,
** so it is kept as a place and a length rather than copied; units past the
** first HOTKEY_TOKEN_LIMIT of a word are not looked at.
*/
HotkeyCode ParseHotkeyName(const wchar_t *name)
{
    const KeyTable *table = ActiveKeyTable();
    const wchar_t *word = name;
    int length = 0;
    ModifierSet modifiers = 0;
    int i, column;

    if (name == 0) return HOTKEY_NONE;
    for (i = 0; name[i] != 0; i++) {
        if (name[i] == L'-' && length > 0) {
            ModifierSet modifier = ModifierOfWord(word, length);
            if (modifier == 0) return HOTKEY_NONE;
            modifiers |= modifier;
            word = name + i + 1;
            length = 0;
        } else if (length < HOTKEY_TOKEN_LIMIT) {
            length++;
        }
    }
    if (length == 0) return HOTKEY_NONE;
    column = ModifierColumn(table, modifiers);
    if (column < 0) return HOTKEY_NONE;

    /* Each alias entry looks at the key as the entries before it left it. */
    for (i = 0; i < table->aliasCount; i++) {
        if (TextEqualNoCaseSpan(word, length, table->KeyAliases[i].alias)) {
            word = table->KeyAliases[i].canonical;
            length = TextLength(word);
        }
    }
    /* Row names are unique in each table: the first match is the only one. */
    for (i = 0; i < table->rowCount; i++) {
        if (TextEqualNoCaseSpan(word, length, table->rows[i].name)) return table->rows[i].cells[column];
    }
    return HOTKEY_NONE;
}

/*
** The last cell of the table that holds code, as its row and column (both -1
** when no cell does); whether one does.  -1 and -2 stand in the tables as
** markers, never as hotkeys, so only a positive code is looked for.
*/
static int FindHotkeyCell(const KeyTable *table, HotkeyCode code, int *foundRow,
                          int *foundColumn)
{
    int row, column;

    *foundRow = *foundColumn = -1;
    for (row = 0; code > 0 && row < table->rowCount; row++) {
        for (column = 0; column < table->columnCount; column++) {
            if (table->rows[row].cells[column] == code) {
                *foundRow = row;
                *foundColumn = column;
            }
        }
    }
    return *foundRow >= 0;
}

int FormatHotkeyCode(HotkeyCode code, wchar_t *buffer, int capacity)
{
    const KeyTable *table = ActiveKeyTable();
    int row, column;

    if (!FindHotkeyCell(table, code, &row, &column)) {
        TextCopy(buffer, capacity, L"(unknown)");
        return -1;
    }
    TextCopy(buffer, capacity, ModifierPrefixes[column]);
    TextAppend(buffer, capacity, table->rows[row].name);
    return 0;
}

int IsKnownHotkey(HotkeyCode code)
{
    int row, column;
    return FindHotkeyCell(ActiveKeyTable(), code, &row, &column);
}

int FormatHotkeyListLine(const KeyTable *table, int row, wchar_t *buffer,
                         int capacity)
{
    int column;

    if (TextCopy(buffer, capacity, L"") != TEXT_OK) return TEXT_NO_ROOM;
    for (column = 0; column < table->columnCount; column++) {
        if (table->rows[row].cells[column] <= 0) continue;
        if (buffer[0] != 0 && TextAppend(buffer, capacity, L" \u00B7 ") != TEXT_OK) return TEXT_CUT;
        if (TextAppend(buffer, capacity, ModifierPrefixes[column]) != TEXT_OK ||
            TextAppend(buffer, capacity, table->rows[row].name) != TEXT_OK) {
            return TEXT_CUT;
        }
    }
    return TEXT_OK;
}
