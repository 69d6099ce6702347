/*
** The shell's key codes.  Characters come as themselves (Ctrl with a letter
** as its control character); function keys, cursor keys and Alt
** combinations as 0x10000 plus the key's extended code.  Hosts of version 24
** and above name the keystrokes that the older codes cannot tell apart.
*/
#include "keystroke.h"

namespace {

enum Column : unsigned char { NONE, SHIFT, CTRL, ALT, CTRL_SHIFT, CTRL_ALT, CTRL_ALT_SHIFT, NO_COLUMN };

const wchar_t *const Prefixes[] = {L"", L"Shift-", L"Ctrl-", L"Alt-", L"Ctrl-Shift-", L"Ctrl-Alt-",
                                   L"Ctrl-Alt-Shift-"};

/* Keys with an extended code in every combination: the codes for no
** modifier, Shift, Ctrl, Alt, Ctrl-Shift and Ctrl-Alt (Ctrl-Alt-Shift gives
** the Ctrl-Alt code).  F1 to F10 follow a rule; see SpecialCode. */
struct SpecialKey {
    WORD virtualKey;
    const wchar_t *name;
    unsigned short codes[6];
};

const SpecialKey SpecialKeys[] = {
    {VK_F11, L"F11", {0x85, 0x87, 0x89, 0x8B, 0x87, 0x89}},
    {VK_F12, L"F12", {0x86, 0x88, 0x8A, 0x8C, 0x88, 0x8A}},
    {VK_HOME, L"Home", {0x47, 0xCA, 0x77, 0x47, 0xCA, 0x77}},
    {VK_END, L"End", {0x4F, 0xCB, 0x75, 0x4F, 0xCB, 0x75}},
    {VK_PRIOR, L"PgUp", {0x49, 0x49, 0x84, 0x49, 0x49, 0x84}},
    {VK_NEXT, L"PgDn", {0x51, 0x51, 0x76, 0x51, 0x51, 0x76}},
    {VK_INSERT, L"Ins", {0x52, 0x52, 0x92, 0x52, 0x52, 0x92}},
    {VK_DELETE, L"Del", {0x53, 0x53, 0x93, 0x53, 0x53, 0x93}},
    {VK_UP, L"Up", {0x48, 0x48, 0x8D, 0x48, 0x48, 0x8D}},
    {VK_DOWN, L"Down", {0x50, 0x50, 0x91, 0x50, 0x50, 0x91}},
    {VK_LEFT, L"Left", {0x4B, 0xC8, 0x73, 0xF4, 0xCC, 0x73}},
    {VK_RIGHT, L"Right", {0x4D, 0xC9, 0x74, 0xF6, 0xCD, 0x74}},
};

/* Punctuation keys: the character, the Alt code, and the key's name on
** the newer hosts. */
struct PunctuationKey {
    wchar_t character;
    unsigned short altCode;
    const wchar_t *name;
};

const PunctuationKey PunctuationKeys[] = {
    {L'`', 0x29, L"`"},  {L'-', 0x82, L"Minus"}, {L'=', 0x83, L"Plus"},    {L'[', 0x1A, L"["},
    {L']', 0x1B, L"]"},  {L'\\', 0x2B, L"\\"},   {L';', 0x27, L";"},       {L'\'', 0x28, L"'"},
    {L',', 0x33, L","},  {L'.', 0x34, L"Decimal"}, {L'/', 0x35, L"Divide"},
};

Column ColumnOf(DWORD state)
{
    bool shift = (state & SHIFT_PRESSED) != 0;
    bool ctrl = (state & (LEFT_CTRL_PRESSED | RIGHT_CTRL_PRESSED)) != 0;
    bool alt = (state & (LEFT_ALT_PRESSED | RIGHT_ALT_PRESSED)) != 0;
    if (ctrl && alt && shift) return CTRL_ALT_SHIFT;
    if (ctrl && alt) return CTRL_ALT;
    if (ctrl && shift) return CTRL_SHIFT;
    if (alt && shift) return NO_COLUMN;
    if (ctrl) return CTRL;
    if (alt) return ALT;
    if (shift) return SHIFT;
    return NONE;
}

/* Fills the keystroke for a function or cursor key; false for other keys. */
bool SpecialCode(WORD virtualKey, Column column, int *code, std::wstring *name)
{
    int index = column == CTRL_ALT_SHIFT ? CTRL_ALT : column == NO_COLUMN ? ALT : column;
    if (virtualKey >= VK_F1 && virtualKey <= VK_F10) {
        static const unsigned short base[6] = {0x3B, 0x54, 0x5E, 0x68, 0x54, 0x5E};
        *code = 0x10000 | (base[index] + (virtualKey - VK_F1));
        *name = L"F" + std::to_wstring(virtualKey - VK_F1 + 1);
        return true;
    }
    for (const SpecialKey &key : SpecialKeys) {
        if (key.virtualKey == virtualKey) {
            *code = 0x10000 | key.codes[index];
            *name = key.name;
            return true;
        }
    }
    return false;
}

}  // namespace

bool TranslateKeyEvent(const KEY_EVENT_RECORD &event, bool keyNames, HostKeystroke *keystroke)
{
    WORD virtualKey = event.wVirtualKeyCode;
    wchar_t character = event.uChar.UnicodeChar;
    Column column = ColumnOf(event.dwControlKeyState);
    bool ctrl = column == CTRL || column == CTRL_SHIFT || column == CTRL_ALT || column == CTRL_ALT_SHIFT;
    bool alt = column == ALT || column == CTRL_ALT || column == CTRL_ALT_SHIFT || column == NO_COLUMN;
    int code = 0;
    std::wstring name;
    bool byName = false;   /* no code of the older hosts tells this keystroke apart */

    if (!event.bKeyDown) return false;
    if (virtualKey == VK_SHIFT || virtualKey == VK_CONTROL || virtualKey == VK_MENU) return false;

    if (SpecialCode(virtualKey, column, &code, &name)) {
        byName = column == CTRL_ALT_SHIFT;
    } else if (virtualKey >= 'A' && virtualKey <= 'Z') {
        name.assign(1, (wchar_t)virtualKey);
        WORD scan = event.wVirtualScanCode != 0 ? event.wVirtualScanCode
                                                : (WORD)MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
        if (alt) {
            code = 0x10000 | scan;
        } else if (ctrl) {
            code = virtualKey - 'A' + 1;
        } else {
            code = character != 0 ? character : virtualKey;
        }
        byName = column == CTRL_ALT_SHIFT;
    } else if (virtualKey == VK_BACK) {
        name = L"Backspace";
        code = column == NONE || column == SHIFT ? 0x08 : column == CTRL ? 0x7F : 0x1000E;
        byName = column == SHIFT || column == CTRL_ALT_SHIFT;
    } else if (virtualKey == VK_RETURN) {
        name = L"Enter";
        code = 0x0D;
        byName = column != NONE;
    } else if (virtualKey >= '0' && virtualKey <= '9') {
        name.assign(1, (wchar_t)virtualKey);
        code = alt ? 0x10000 | (0xE2 + (virtualKey == '0' ? 9 : virtualKey - '1'))
                   : (character != 0 ? character : virtualKey);
        byName = ctrl;
    } else {
        code = character;
        for (const PunctuationKey &key : PunctuationKeys) {
            if (key.character != character) continue;
            name = key.name;
            if (alt) code = 0x10000 | key.altCode;
            if (ctrl && character == L'\\' && !alt) code = 0x1C;
            byName = ctrl;
        }
        if (code == 0) code = 0x10000 | event.wVirtualScanCode;
    }

    keystroke->code = code;
    keystroke->name.clear();
    if (keyNames && byName && column != NO_COLUMN) {
        keystroke->code = 0;
        keystroke->name = Prefixes[column] + name;
    }
    return true;
}
