// The stand-in shell's key codes against the plug-in's key tables: for every
// usable hotkey of a function or cursor key, a letter or a digit, the code
// the shell gives for that key with those modifiers, plus the marker bits
// the handler adds for them, is the table's code; and which keystrokes a
// newer shell gives by name.
#include <gtest/gtest.h>

#include <string>

#include "frame/plugin.h"
#include "host/keystroke.h"
#include "hotkeys/hotkey_names.h"
#include "hotkeys/key_tables.h"

namespace {

const WORD ModifierStates[7] = {
    0, SHIFT_PRESSED, LEFT_CTRL_PRESSED, LEFT_ALT_PRESSED, LEFT_CTRL_PRESSED | SHIFT_PRESSED,
    LEFT_CTRL_PRESSED | LEFT_ALT_PRESSED, LEFT_CTRL_PRESSED | LEFT_ALT_PRESSED | SHIFT_PRESSED};
const int MarkerBits[7] = {0, 0, 0, 0, 0x20000, 0x40000, 0x60000};

KEY_EVENT_RECORD Event(WORD virtualKey, wchar_t character, DWORD state)
{
    KEY_EVENT_RECORD event = {};
    event.bKeyDown = TRUE;
    event.wRepeatCount = 1;
    event.wVirtualKeyCode = virtualKey;
    event.wVirtualScanCode = (WORD)MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    event.uChar.UnicodeChar = character;
    event.dwControlKeyState = state;
    return event;
}

struct Key {
    WORD virtualKey;
    const wchar_t *name;
};

TEST(ShellKeyCodes, MatchTheClassicTableWithTheHandlersMarkerBits)
{
    int saved = UseExtendedKeys;
    UseExtendedKeys = 0;
    std::vector<Key> keys = {{VK_HOME, L"Home"}, {VK_END, L"End"},   {VK_PRIOR, L"PgUp"},
                             {VK_NEXT, L"PgDn"}, {VK_INSERT, L"Ins"}, {VK_DELETE, L"Del"},
                             {VK_UP, L"Up"},     {VK_DOWN, L"Down"},  {VK_LEFT, L"Left"},
                             {VK_RIGHT, L"Right"}, {VK_BACK, L"BkSp"}};
    static wchar_t names[12 + 26][4];
    for (int i = 0; i < 12; i++) {
        wsprintfW(names[i], L"F%d", i + 1);
        keys.push_back({(WORD)(VK_F1 + i), names[i]});
    }
    for (int i = 0; i < 26; i++) {
        names[12 + i][0] = (wchar_t)(L'A' + i);
        keys.push_back({(WORD)(L'A' + i), names[12 + i]});
    }
    int checked = 0;
    for (const Key &key : keys) {
        for (int column = 0; column < 6; column++) {
            std::wstring name = std::wstring(ModifierPrefixes[column]) + key.name;
            int expected = ParseHotkeyName(name.c_str());
            if (expected <= 0) continue;
            wchar_t character = 0;
            if (key.virtualKey >= 'A' && key.virtualKey <= 'Z' && column < 2) character = key.virtualKey;
            HostKeystroke keystroke;
            ASSERT_TRUE(TranslateKeyEvent(Event(key.virtualKey, character, ModifierStates[column]),
                                          false, &keystroke));
            EXPECT_TRUE(keystroke.name.empty());
            EXPECT_EQ(expected, keystroke.code | MarkerBits[column]) << std::string(name.begin(), name.end());
            checked++;
        }
    }
    EXPECT_GT(checked, 200);
    UseExtendedKeys = saved;
}

TEST(ShellKeyCodes, CharactersComeAsThemselves)
{
    HostKeystroke keystroke;
    ASSERT_TRUE(TranslateKeyEvent(Event('Q', L'q', 0), true, &keystroke));
    EXPECT_EQ(L'q', keystroke.code);
    ASSERT_TRUE(TranslateKeyEvent(Event('Q', 0x11, LEFT_CTRL_PRESSED), true, &keystroke));
    EXPECT_EQ(17, keystroke.code);
    ASSERT_TRUE(TranslateKeyEvent(Event(VK_SPACE, L' ', 0), true, &keystroke));
    EXPECT_EQ(L' ', keystroke.code);
    ASSERT_TRUE(TranslateKeyEvent(Event(0, L'\u00e9', 0), true, &keystroke));
    EXPECT_EQ(0xE9, keystroke.code);
    ASSERT_TRUE(TranslateKeyEvent(Event('1', L'1', LEFT_ALT_PRESSED), false, &keystroke));
    EXPECT_EQ(0x100E2, keystroke.code);
    KEY_EVENT_RECORD release = Event('Q', L'q', 0);
    release.bKeyDown = FALSE;
    EXPECT_FALSE(TranslateKeyEvent(release, false, &keystroke));
    EXPECT_FALSE(TranslateKeyEvent(Event(VK_SHIFT, 0, SHIFT_PRESSED), false, &keystroke));
}

TEST(ShellKeyCodes, NewerShellsNameWhatTheOlderCodesCannotTellApart)
{
    struct Case {
        WORD virtualKey;
        wchar_t character;
        DWORD state;
        const wchar_t *name;   // "" when given by code
    } cases[] = {
        {VK_F1, 0, ModifierStates[6], L"Ctrl-Alt-Shift-F1"},
        {'B', 0, ModifierStates[6], L"Ctrl-Alt-Shift-B"},
        {'1', 0, LEFT_CTRL_PRESSED, L"Ctrl-1"},
        {VK_OEM_MINUS, L'-', LEFT_CTRL_PRESSED, L"Ctrl-Minus"},
        {VK_RETURN, L'\r', SHIFT_PRESSED, L"Shift-Enter"},
        {VK_RETURN, L'\n', LEFT_CTRL_PRESSED, L"Ctrl-Enter"},
        {VK_BACK, 8, SHIFT_PRESSED, L"Shift-Backspace"},
        {VK_RETURN, L'\r', 0, L""},
        {'Q', 0x11, LEFT_CTRL_PRESSED, L""},
        {VK_F1, 0, LEFT_CTRL_PRESSED | SHIFT_PRESSED, L""},
    };
    int saved = UseExtendedKeys;
    UseExtendedKeys = 1;
    for (const Case &c : cases) {
        HostKeystroke keystroke;
        ASSERT_TRUE(TranslateKeyEvent(Event(c.virtualKey, c.character, c.state), true, &keystroke));
        EXPECT_EQ(std::wstring(c.name), keystroke.name);
        if (c.name[0] != 0) {
            EXPECT_EQ(0, keystroke.code);
            EXPECT_GT(ParseHotkeyName(c.name), 0) << std::string(c.name, c.name + wcslen(c.name));
        }
        // An older shell gives the same keystroke by code.
        ASSERT_TRUE(TranslateKeyEvent(Event(c.virtualKey, c.character, c.state), false, &keystroke));
        EXPECT_TRUE(keystroke.name.empty());
        EXPECT_NE(0, keystroke.code);
    }
    UseExtendedKeys = saved;
}

}  // namespace
