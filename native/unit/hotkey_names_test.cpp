/*
** Hotkey names at the edges: words at and past the parser's limit, names and
** list lines written into buffers of every size, and the whole list.
*/
#include "check.h"
#include "frame/plugin.h"
#include "frame/text.h"
#include "hotkeys/hotkey_names.h"
#include "settings/settings.h"
#include "shim/host_shim.h"
#include "support/units.h"

/* A prefix, count units of "x", and a key part. */
static wchar_t *LongName(const wchar_t *prefix, int count, const wchar_t *key)
{
    int prefixLength = UnitCount(prefix), keyLength = UnitCount(key);
    wchar_t *name = NewUnits(prefixLength + count + keyLength + 1);
    for (int i = 0; i < prefixLength; i++) name[i] = prefix[i];
    for (int i = 0; i < count; i++) name[prefixLength + i] = L'x';
    for (int i = 0; i <= keyLength; i++) name[prefixLength + count + i] = key[i];
    return name;
}

NATIVE_TEST(LongWordsAreReadOnlyAsFarAsTheLimit)
{
    ShimReset();
    for (int table = 0; table < 2; table++) {
        UseExtendedKeys = table;
        for (int count : {1022, 1023, 1024, 5000, 40000}) {
            wchar_t *name = LongName(L"", count, L"");
            CHECK_EQ(0, ParseHotkeyName(name));
            FreeUnits(name);
            name = LongName(L"", count, L"-q");   /* an unknown modifier word */
            CHECK_EQ(0, ParseHotkeyName(name));
            FreeUnits(name);
            name = LongName(L"ctrl-", count, L"");   /* an unknown key */
            CHECK_EQ(0, ParseHotkeyName(name));
            FreeUnits(name);
        }
        wchar_t *name = LongName(L"", 0, L"ctrl-q");
        CHECK_EQ(17, ParseHotkeyName(name));
        FreeUnits(name);
    }
    CHECK_EQ(0, ParseHotkeyName(0));
    CHECK_EQ(-2, ParseHotkeyName(L"-"));   /* a lone hyphen is the key "-" */
}

NATIVE_TEST(NamesIntoBuffersOfEverySize)
{
    ShimReset();
    UseExtendedKeys = 1;
    const wchar_t *longest = L"Ctrl-Alt-Shift-Backspace";
    int full = UnitCount(longest);
    for (int capacity = 1; capacity <= full + 1; capacity++) {
        wchar_t *buffer = NewUnits(capacity);
        CHECK_EQ(0, FormatHotkeyCode(0x7000E, buffer, capacity));
        CHECK_EQ(capacity - 1 < full ? capacity - 1 : full, UnitCount(buffer));
        CHECK(SameUnits(buffer, longest, UnitCount(buffer)));
        FreeUnits(buffer);
    }
    wchar_t *buffer = NewUnits(4);
    CHECK_EQ(-1, FormatHotkeyCode(0x12345, buffer, 4));
    CHECK_TEXT(L"(un", buffer);
    FreeUnits(buffer);
}

NATIVE_TEST(ListLinesFitOrSayTheyWereCut)
{
    ShimReset();
    for (int table = 0; table < 2; table++) {
        UseExtendedKeys = table;
        const KeyTable *keys = ActiveKeyTable();
        int longest = 0;
        for (int row = 0; row < keys->rowCount; row++) {
            wchar_t *line = NewUnits(HOTKEY_NAME_CAPACITY);
            CHECK_EQ(TEXT_OK, FormatHotkeyListLine(keys, row, line, HOTKEY_NAME_CAPACITY));
            int length = UnitCount(line);
            if (length > longest) longest = length;
            wchar_t *exact = NewUnits(length + 1);
            CHECK_EQ(TEXT_OK, FormatHotkeyListLine(keys, row, exact, length + 1));
            CHECK_TEXT(line, exact);
            FreeUnits(exact);
            wchar_t *small = NewUnits(length);
            CHECK_EQ(TEXT_CUT, FormatHotkeyListLine(keys, row, small, length));
            CHECK_EQ(length - 1, UnitCount(small));
            FreeUnits(small);
            FreeUnits(line);
        }
        CHECK(longest <= 119);
    }
    CHECK_EQ(TEXT_NO_ROOM, FormatHotkeyListLine(ActiveKeyTable(), 0, 0, 10));
}

NATIVE_TEST(TheListHasALineForEveryRow)
{
    for (int table = 0; table < 2; table++) {
        ShimReset();
        UseExtendedKeys = table;
        CHECK_EQ(0, ListHotkeys());
        int lines = 0;
        for (const wchar_t *p = ShimOutput; *p != 0; p++) {
            if (p[0] == L'\r' && p[1] == L'\n') lines++;
        }
        CHECK_EQ(table ? 72 : 74, lines);
    }
}
