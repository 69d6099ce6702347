/*
** Fuzz target: hotkey names, their codes and the hotkey list.  Input: a
** table byte ("C" or "c" the classic table, anything else the extended
** one), a capacity byte, then a name.  A parsed name gives 0, -1, -2 or a
** hotkey of the table; a hotkey's name parses back to the same code
** (except the names whose key ends in a hyphen, such as Ctrl-Num-, which
** cannot be typed), in any letter case; names and list lines written into
** small buffers are the start of the whole text.
*/
#include "frame/plugin.h"
#include "frame/text.h"
#include "fuzz_input.h"
#include "hotkeys/hotkey_names.h"

/* A copy of text with its ASCII letters in upper case (upper) or lower
** case. */
static wchar_t *CaseCopy(const wchar_t *text, int length, int upper)
{
    wchar_t *copy = NewUnits(length + 1);
    for (int i = 0; i <= length; i++) {
        wchar_t unit = text[i];
        if (upper) unit = FoldAscii(unit);
        else if (unit >= L'A' && unit <= L'Z') unit = (wchar_t)(unit + 0x20);
        copy[i] = unit;
    }
    return copy;
}

/* Writes code's name into a buffer of capacity units and checks that it is
** the start of the whole name. */
static void CheckNameInSmallBuffer(HotkeyCode code, const wchar_t *whole, int capacity)
{
    wchar_t *buffer = NewUnits(capacity);
    int wholeLength = UnitCount(whole);
    int kept = wholeLength < capacity - 1 ? wholeLength : capacity - 1;
    FormatHotkeyCode(code, buffer, capacity);
    REQUIRE(UnitCount(buffer) == kept && SameUnits(buffer, whole, kept));
    FreeUnits(buffer);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input = {data, size, 0};
    int table = TakeByte(&input);
    int capacity = 1 + TakeByte(&input) % 48;
    int length;
    wchar_t *name = TakeText(&input, &length);
    wchar_t formatted[HOTKEY_NAME_CAPACITY];

    UseExtendedKeys = table == 'C' || table == 'c' ? 0 : 1;
    HotkeyCode code = ParseHotkeyName(name);
    REQUIRE(code == HOTKEY_NONE || code == HOTKEY_INVALID || code == HOTKEY_NOT_ALLOWED ||
            IsKnownHotkey(code));
    for (int upper = 0; upper < 2; upper++) {
        wchar_t *other = CaseCopy(name, length, upper);
        REQUIRE(ParseHotkeyName(other) == code);
        FreeUnits(other);
    }
    if (code > 0) {
        REQUIRE(FormatHotkeyCode(code, formatted, HOTKEY_NAME_CAPACITY) == 0);
        int n = UnitCount(formatted);
        REQUIRE(n > 0 && n <= 24);
        int keyEndsInHyphen = formatted[n - 1] == L'-' && n >= 2 && formatted[n - 2] != L'-';
        if (!keyEndsInHyphen) REQUIRE(ParseHotkeyName(formatted) == code);
        CheckNameInSmallBuffer(code, formatted, capacity);
    }

    /* The name's first two units as a code of any value. */
    HotkeyCode any = length >= 2 ? (HotkeyCode)((unsigned)(unsigned short)name[0] |
                                                (unsigned)(unsigned short)name[1] << 16)
                                 : length;
    int known = FormatHotkeyCode(any, formatted, HOTKEY_NAME_CAPACITY) == 0;
    if (!known) REQUIRE(TextEqualNoCase(formatted, L"(unknown)") && !IsKnownHotkey(any));
    if (any > 0) REQUIRE(known == IsKnownHotkey(any));
    CheckNameInSmallBuffer(any, formatted, capacity);

    /* A line of the list, whole and in a small buffer. */
    const KeyTable *keys = ActiveKeyTable();
    int row = length % keys->rowCount;
    wchar_t line[HOTKEY_NAME_CAPACITY];
    REQUIRE(FormatHotkeyListLine(keys, row, line, HOTKEY_NAME_CAPACITY) == TEXT_OK);
    int lineLength = UnitCount(line);
    REQUIRE(lineLength > 0 && lineLength <= 119);
    wchar_t *small = NewUnits(capacity);
    int status = FormatHotkeyListLine(keys, row, small, capacity);
    REQUIRE(status == (lineLength < capacity ? TEXT_OK : TEXT_CUT));
    REQUIRE(SameUnits(small, line, UnitCount(small)));
    FreeUnits(small);
    FreeUnits(name);
    return 0;
}
