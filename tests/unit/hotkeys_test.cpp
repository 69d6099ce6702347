// The key tables and hotkey names: the tables' own invariants and where they
// differ from each other, then parsing, formatting and testing codes on
// each table, with the edge cases a user can type.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/support/console_state.h"
#include "frame/text.h"
#include "hotkeys/hotkey_names.h"

namespace {

const KeyTable *const Tables[2] = {&ClassicKeyTable, &ExtendedKeyTable};

std::wstring Lower(const wchar_t *text)
{
    std::wstring result;
    for (; *text != 0; text++) result += (*text >= L'A' && *text <= L'Z') ? *text + 0x20 : *text;
    return result;
}

// Every positive code of a table, with the number of cells holding it.
std::map<int, int> PositiveCodes(const KeyTable *table)
{
    std::map<int, int> codes;
    for (int row = 0; row < table->rowCount; row++) {
        for (int column = 0; column < table->columnCount; column++) {
            int code = table->rows[row].cells[column];
            if (code > 0) codes[code]++;
        }
    }
    return codes;
}

TEST(KeyTables, NamesAndAliasesAreUniqueAndConsistentIgnoringCase)
{
    for (const KeyTable *table : Tables) {
        std::set<std::wstring> names, aliases;
        for (int row = 0; row < table->rowCount; row++) {
            const wchar_t *name = table->rows[row].name;
            EXPECT_TRUE(names.insert(Lower(name)).second) << name;
            // The classic names are those of the older hosts: 7 units at most.
            if (table == &ClassicKeyTable) EXPECT_LE(TextLength(name), 7) << name;
        }
        for (int entry = 0; entry < table->aliasCount; entry++) {
            std::wstring alias = Lower(table->KeyAliases[entry].alias);
            EXPECT_TRUE(aliases.insert(alias).second) << entry;
            EXPECT_EQ(0u, names.count(alias)) << entry;
            EXPECT_EQ(1u, names.count(Lower(table->KeyAliases[entry].canonical))) << entry;
            for (int later = entry + 1; later < table->aliasCount; later++) {
                EXPECT_NE(Lower(table->KeyAliases[entry].canonical),
                          Lower(table->KeyAliases[later].alias));
            }
        }
    }
}

TEST(KeyTables, CellsAreNeverZeroAndEveryRowHasAHotkey)
{
    for (const KeyTable *table : Tables) {
        for (int row = 0; row < table->rowCount; row++) {
            bool usable = false;
            for (int column = 0; column < table->columnCount; column++) {
                int code = table->rows[row].cells[column];
                EXPECT_TRUE(code > 0 || code == -1 || code == -2) << row << "," << column;
                usable = usable || code > 0;
            }
            EXPECT_TRUE(usable) << table->rows[row].name;
        }
    }
}

TEST(KeyTables, PositiveCodesAreUniqueButTheClassicNumMinusNumPlusPair)
{
    for (const KeyTable *table : Tables) {
        for (const auto &code : PositiveCodes(table)) {
            bool pair = table == &ClassicKeyTable && code.first == 0x3004A;
            EXPECT_EQ(pair ? 2 : 1, code.second) << std::hex << code.first;
        }
    }
    EXPECT_EQ(0x3004A, ClassicKeyTable.rows[72].cells[4]);   // Num-
    EXPECT_EQ(0x3004A, ClassicKeyTable.rows[73].cells[4]);   // Num+
}

// Where -2 stands, stated once for both tables: the no-modifier and Shift
// columns of every row but the function, cursor and editing keys (rows 0 to
// 21), except classic "BkSp" and extended "Backspace" and "Enter" with
// Shift, and the classic "Num-" and "Num+" with Alt.
TEST(KeyTables, NotAllowedCellsFollowOneRule)
{
    for (const KeyTable *table : Tables) {
        bool classic = table == &ClassicKeyTable;
        for (int row = 0; row < table->rowCount; row++) {
            std::wstring name = table->rows[row].name;
            for (int column = 0; column < table->columnCount; column++) {
                bool expected = false;
                if (row >= 22 && column == 0) expected = true;
                if (row >= 22 && column == 1) {
                    expected = name != L"BkSp" && name != L"Backspace" && name != L"Enter";
                }
                if (classic && column == 3 && (name == L"Num-" || name == L"Num+")) expected = true;
                EXPECT_EQ(expected, table->rows[row].cells[column] == -2) << row << "," << column;
            }
        }
    }
}

TEST(KeyTables, MarkerBitsFollowTheColumns)
{
    const int bits = HOTKEY_CTRL_SHIFT_BIT | HOTKEY_CTRL_ALT_BIT;
    const int expected[7] = {0, 0, 0, 0, HOTKEY_CTRL_SHIFT_BIT, HOTKEY_CTRL_ALT_BIT, bits};
    for (const KeyTable *table : Tables) {
        for (int row = 0; row < table->rowCount; row++) {
            for (int column = 0; column < table->columnCount; column++) {
                int code = table->rows[row].cells[column];
                if (code > 0) EXPECT_EQ(expected[column], code & bits) << row << "," << column;
            }
        }
        // Ctrl with a letter is its control character where it is usable.
        for (int letter = 0; letter < 26; letter++) {
            int code = table->rows[22 + letter].cells[2];
            if (code > 0) EXPECT_EQ(letter + 1, code) << letter;
        }
    }
}

TEST(KeyTables, CodesSharedAndOwnedByEachTable)
{
    std::map<int, int> classic = PositiveCodes(&ClassicKeyTable);
    std::map<int, int> extended = PositiveCodes(&ExtendedKeyTable);
    int both = 0, classicOnly = 0, extendedOnly = 0;
    for (const auto &code : classic) (extended.count(code.first) ? both : classicOnly)++;
    for (const auto &code : extended) {
        if (!classic.count(code.first)) extendedOnly++;
    }
    EXPECT_EQ(249, both);
    EXPECT_EQ(11, classicOnly);
    EXPECT_EQ(135, extendedOnly);
}

class HotkeyNameTest : public ConsoleTest {
protected:
    static std::wstring Name(int code)
    {
        wchar_t buffer[HOTKEY_NAME_CAPACITY];
        int status = FormatHotkeyCode(code, buffer, HOTKEY_NAME_CAPACITY);
        EXPECT_EQ(status == 0, std::wstring(buffer) != L"(unknown)");
        return buffer;
    }
};

TEST_F(HotkeyNameTest, ThirteenSharedCodesAreNamedDifferently)
{
    std::map<int, int> classic = PositiveCodes(&ClassicKeyTable);
    std::map<int, int> extended = PositiveCodes(&ExtendedKeyTable);
    std::set<int> differ;
    for (const auto &code : classic) {
        if (!extended.count(code.first)) continue;
        UseTable(false);
        std::wstring classicName = Name(code.first);
        UseTable(true);
        if (Name(code.first) != classicName) differ.insert(code.first);
    }
    std::set<int> expected = {0x7F,    0x10035, 0x10083, 0x10037, 0x1000E, 0x3000E, 0x5000E,
                              0x1002A, 0x30037, 0x50037, 0x10034, 0x50034, 0x50035};
    EXPECT_EQ(expected, differ);
}

struct ParseCase {
    const wchar_t *name;
    int classic;
    int extended;
};

TEST_F(HotkeyNameTest, ParsesNamesOnEachTable)
{
    const ParseCase cases[] = {
        // Modifier words, in any case, repeated, in any order.
        {L"ctrl-q", 17, 17}, {L"CONTROL-Q", 17, 17}, {L"c-q", 17, 17}, {L"Ctl-q", 17, 17},
        {L"Ctrl-Ctrl-Q", 17, 17}, {L"alt-f4", 0x1006B, 0x1006B}, {L"s-F1", 0x10054, 0x10054},
        {L"Shift-Ctrl-F1", 0x30054, 0x30054}, {L"Ctrl-Shift-F1", 0x30054, 0x30054},
        {L"Ctrl-Alt-Shift-F1", 0, 0x7005E}, {L"shift-alt-ctrl-f1", 0, 0x7005E},
        {L"Ctrl-Alt-Shift-B", 0, 0x7003E}, {L"Shift-Alt-F1", 0, 0}, {L"s-a-F1", 0, 0},
        // Hyphens: a word that ends is a modifier; an empty word takes the hyphen.
        {L"Ctrl--", -1, 0x8BD}, {L"-", -2, -2}, {L"Alt--", 0x10082, 0x108BD},
        {L"Num-", 0, 0}, {L"Ctrl-Num-", 0, 0}, {L"Ctrl-", 0, 0}, {L"Ctrl-Q-", 0, 0},
        {L"", 0, 0}, {L"Ctrl", 0, 0}, {L"Meta-Q", 0, 0},
        // Blanks are part of the words.
        {L" Ctrl-Q", 0, 0}, {L"Ctrl-Q ", 0, 0}, {L"Ctrl -Q", 0, 0},
        // What the tables mark.
        {L"Q", -2, -2}, {L"Shift-Q", -2, -2}, {L"Ctrl-C", -1, -1}, {L"ctrl-alt-del", -1, -1},
        {L"Ctrl-M", -1, 0xD}, {L"Alt-Enter", 0, -1}, {L"Alt-Num-", 0, 0},
        // Names and aliases of one table or both.
        {L"Alt-Backspace", 0x1000E, 0x1000E}, {L"Alt-BkSp", 0x1000E, 0x1000E},
        {L"Ctrl-PageUp", 0x10084, 0x10084}, {L"Alt-\u00BD", 0, 0x108BD},
        {L"Alt-\u00DB", 0, 0x1001A}, {L"Alt-\u00FB", 0, 0}, {L"Alt-\u00DC", 0, 0x1002B},
        {L"Alt-=", 0x10083, 0x10083}, {L"Alt-Equals", 0x10083, 0x10083}, {L"Alt-+", 0, 0x10083},
        {L"Ctrl-Shift-Num+", 0x3004A, 0}, {L"Ctrl-\\", 0x1C, 0x8DC},
        {L"ctrl-backslash", 0x1C, 0x8DC}, {L"Ctrl-`", 0, 0x860}, {L"Ctrl-Grave", -1, 0x860},
        {L"Ctrl-Multiply", 0, 0x10037}, {L"Ctrl-Num*", 0x10037, 0}, {L"Alt-Dot", 0x10034, 0x10034},
        {L"Alt-Slash", 0x10035, 0}, {L"Alt-/", 0x10035, 0x10035}, {L"Ctrl-Alt-Shift-1", 0, 0x700E2},
    };
    for (const ParseCase &c : cases) {
        UseTable(false);
        EXPECT_EQ(c.classic, ParseHotkeyName(c.name)) << "classic: \"" << c.name << "\"";
        UseTable(true);
        EXPECT_EQ(c.extended, ParseHotkeyName(c.name)) << "extended: \"" << c.name << "\"";
    }
}

TEST_F(HotkeyNameTest, FormatsTheCurrentHotkeyWithTheLastMatchingCell)
{
    struct {
        int code;
        const wchar_t *classic;
        const wchar_t *extended;
    } cases[] = {
        {17, L"Ctrl-Q", L"Ctrl-Q"},
        {0x1000E, L"Alt-BkSp", L"Alt-Backspace"},
        {0x10084, L"Ctrl-PgUp", L"Ctrl-PgUp"},
        {0x3004A, L"Ctrl-Shift-Num+", L"(unknown)"},
        {0x1004A, L"Ctrl-Num-", L"(unknown)"},
        {0x8BD, L"(unknown)", L"Ctrl-Minus"},
        {0x10083, L"Alt-=", L"Alt-Plus"},
        {0x7005E, L"(unknown)", L"Ctrl-Alt-Shift-F1"},
        {0x7000E, L"(unknown)", L"Ctrl-Alt-Shift-Backspace"},
        {0x1C, L"Ctrl-\\", L"(unknown)"},
        {0xD, L"(unknown)", L"Ctrl-M"},
        {-1, L"(unknown)", L"(unknown)"},   // the tables' markers are no hotkeys
        {-2, L"(unknown)", L"(unknown)"},
    };
    for (const auto &c : cases) {
        Settings.Hotkey = c.code;
        for (bool extended : {false, true}) {
            UseTable(extended);
            const wchar_t *expected = extended ? c.extended : c.classic;
            wchar_t buffer[HOTKEY_NAME_CAPACITY];
            int status = FormatHotkeyName(buffer, HOTKEY_NAME_CAPACITY);
            EXPECT_STREQ(expected, buffer) << std::hex << c.code;
            EXPECT_EQ(std::wstring(expected) == L"(unknown)" ? -1 : 0, status) << std::hex << c.code;
        }
    }
}

TEST_F(HotkeyNameTest, FormattedNamesParseBackButThoseOfTheNumMinusRow)
{
    for (const KeyTable *table : Tables) {
        UseTable(table == &ExtendedKeyTable);
        for (int row = 0; row < table->rowCount; row++) {
            for (int column = 0; column < table->columnCount; column++) {
                int code = table->rows[row].cells[column];
                if (code <= 0) continue;
                std::wstring name = Name(code);
                bool numMinus = name.size() >= 4 && name.compare(name.size() - 4, 4, L"Num-") == 0;
                EXPECT_EQ(numMinus ? 0 : code, ParseHotkeyName(name.c_str())) << name.c_str();
            }
        }
    }
}

TEST_F(HotkeyNameTest, KnownHotkeysArePositiveCodesOfTheTableInUse)
{
    for (bool extended : {false, true}) {
        UseTable(extended);
        EXPECT_EQ(0, IsKnownHotkey(0));
        EXPECT_EQ(0, IsKnownHotkey(-1));
        EXPECT_EQ(0, IsKnownHotkey(-2));
        EXPECT_EQ(1, IsKnownHotkey(17));
        EXPECT_EQ(extended ? 1 : 0, IsKnownHotkey(0x700E2));
        EXPECT_EQ(extended ? 1 : 0, IsKnownHotkey(0xD));
        EXPECT_EQ(extended ? 0 : 1, IsKnownHotkey(0x1C));
        EXPECT_EQ(0, IsKnownHotkey(0x20000));
    }
}

TEST_F(HotkeyNameTest, ListLinesJoinTheUsableCellsOfARow)
{
    wchar_t line[HOTKEY_NAME_CAPACITY];
    EXPECT_EQ(TEXT_OK, FormatHotkeyListLine(&ClassicKeyTable, 24, line, HOTKEY_NAME_CAPACITY));
    EXPECT_STREQ(L"Alt-C \u00B7 Ctrl-Alt-C", line);
    FormatHotkeyListLine(&ClassicKeyTable, 56, line, HOTKEY_NAME_CAPACITY);
    EXPECT_STREQ(L"Alt-9", line);
    FormatHotkeyListLine(&ExtendedKeyTable, 24, line, HOTKEY_NAME_CAPACITY);
    EXPECT_STREQ(L"Alt-C \u00B7 Ctrl-Alt-C \u00B7 Ctrl-Alt-Shift-C", line);

    int longest = 0;
    for (int row = 0; row < ExtendedKeyTable.rowCount; row++) {
        FormatHotkeyListLine(&ExtendedKeyTable, row, line, HOTKEY_NAME_CAPACITY);
        if (TextLength(line) > longest) longest = TextLength(line);
    }
    EXPECT_EQ(119, longest);
    EXPECT_EQ(TEXT_CUT, FormatHotkeyListLine(&ClassicKeyTable, 0, line, 10));
    EXPECT_STREQ(L"F1 \u00B7 Shif", line);
}

}  // namespace
