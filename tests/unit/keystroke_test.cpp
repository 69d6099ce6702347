// The keystroke handler with real files, real windows and modifier keys held
// for real (injected key-downs that GetAsyncKeyState sees): which keystrokes
// match the hotkey, on classic and extended hosts, and what a match does to
// the host's record.
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "command/command.h"
#include "tests/support/fileinfo_fixture.h"
#include "entry/entry.h"
#include "host/window_dump.h"

namespace {

// Holds modifier keys down for its lifetime.
class HeldKeys {
public:
    HeldKeys(std::initializer_list<WORD> keys) : keys_(keys) { Send(false); }
    ~HeldKeys() { Send(true); }

private:
    void Send(bool up)
    {
        for (WORD key : keys_) {
            INPUT input = {};
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = key;
            input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
            SendInput(1, &input, sizeof input);
        }
    }
    std::vector<WORD> keys_;
};

class KeystrokeTest : public FileInfoTest {
protected:
    void SetUp() override
    {
        FileInfoTest::SetUp();
        savedExtended_ = UseExtendedKeys;
        UseExtendedKeys = 0;   // a classic host with the default options, unless a test says otherwise
        Settings = DefaultSettings;
        file_ = MakeFile(L"notes.txt", "hello");
        line_ = L"list " + file_;
    }
    void TearDown() override
    {
        UseExtendedKeys = savedExtended_;
        FileInfoTest::TearDown();
    }

    // Delivers a keystroke with the cursor at the end of the line; fills the
    // windows it opened.  The record is left in record_.
    void Press(int code, const wchar_t *name = nullptr)
    {
        nameBuffer_.assign(name != nullptr ? name : L"");
        nameBuffer_.push_back(0);
        record_ = KeystrokeRecord();
        record_.keyCode = code;
        record_.line = line_.c_str();
        record_.cursor = line_.c_str() + line_.size();
        record_.keyName = name != nullptr ? &nameBuffer_[0] : nullptr;
        WindowWatch watch;
        EXPECT_EQ(0, key(&record_));
        windows_ = watch.Windows();
    }
    bool Consumed() const { return record_.keyCode == 0; }

    std::wstring file_, line_;
    std::wstring nameBuffer_;
    KeystrokeRecord record_ = {};
    std::vector<WindowTexts> windows_;
    int savedExtended_ = 0;
};

TEST_F(KeystrokeTest, DefaultHotkeyOpensTheWindowForTheWordAtTheCursor)
{
    Press(17);
    EXPECT_TRUE(Consumed());
    ASSERT_EQ(1u, windows_.size());
    EXPECT_EQ(L"NOTES.TXT \u2014 Tirvalo 1.4.0", windows_[0].caption);
    EXPECT_EQ(0, KorrashBeepCount());
}

TEST_F(KeystrokeTest, OtherKeystrokesPassUntouched)
{
    for (int code : {0x11 + 1, 0x10010, 0x20011, 0x1003B, -1}) {
        Press(code);
        EXPECT_EQ(code, record_.keyCode);
        EXPECT_TRUE(windows_.empty());
    }
}

TEST_F(KeystrokeTest, CtrlShiftHeldAddsItsMarkerBit)
{
    {
        HeldKeys held{VK_CONTROL, VK_SHIFT};
        Press(17);   // compared as 0x20011
    }
    EXPECT_EQ(17, record_.keyCode);
    EXPECT_TRUE(windows_.empty());

    Settings.Hotkey = 0x20011;
    {
        HeldKeys held{VK_CONTROL, VK_SHIFT};
        Press(17);
    }
    EXPECT_TRUE(Consumed());
    EXPECT_EQ(1u, windows_.size());
}

TEST_F(KeystrokeTest, CtrlAltHeldAddsItsMarkerBitAndShiftAltAddsNone)
{
    Settings.Hotkey = 0x50010;   // Ctrl-Alt-Q
    {
        HeldKeys held{VK_CONTROL, VK_MENU};
        Press(0x10010);
    }
    EXPECT_TRUE(Consumed());

    Settings.Hotkey = 0x10010;   // Alt-Q
    {
        HeldKeys held{VK_SHIFT, VK_MENU};
        Press(0x10010);
    }
    EXPECT_TRUE(Consumed());
}

TEST_F(KeystrokeTest, AllThreeModifiersOnAClassicHostAddNothing)
{
    Settings.Hotkey = 0x1005E;   // Ctrl-F1
    {
        HeldKeys held{VK_CONTROL, VK_MENU, VK_SHIFT};
        Press(0x1005E);
    }
    EXPECT_TRUE(Consumed());
}

TEST_F(KeystrokeTest, AllThreeModifiersOnAnExtendedHostAddBothBits)
{
    UseExtendedKeys = 1;
    Settings.Hotkey = 0x7005E;   // Ctrl-Alt-Shift-F1
    {
        HeldKeys held{VK_CONTROL, VK_MENU, VK_SHIFT};
        Press(0x1005E);
    }
    EXPECT_TRUE(Consumed());
    {
        HeldKeys held{VK_CONTROL, VK_MENU, VK_SHIFT};
        Press(0, L"Ctrl-Alt-Shift-F1");
    }
    EXPECT_TRUE(Consumed());
    EXPECT_EQ(L'\0', nameBuffer_[0]);
    EXPECT_EQ(1u, windows_.size());
}

TEST_F(KeystrokeTest, KeyNamesAreReadOnExtendedHostsOnly)
{
    Press(0, L"Ctrl-Q");
    EXPECT_EQ(0, record_.keyCode);
    EXPECT_EQ(L"Ctrl-Q", std::wstring(nameBuffer_.c_str()));
    EXPECT_TRUE(windows_.empty());

    UseExtendedKeys = 1;
    Press(0, nullptr);
    EXPECT_TRUE(windows_.empty());
    Press(0, L"ctrl-q");
    EXPECT_EQ(L'\0', nameBuffer_[0]);
    EXPECT_EQ(1u, windows_.size());

    for (const wchar_t *name : {L"Ctrl-Num-", L"Ctrl-C", L"Q", L""}) {   // 0, -1, -2, 0
        Press(0, name);
        EXPECT_EQ(std::wstring(name), std::wstring(nameBuffer_.c_str()));
        EXPECT_TRUE(windows_.empty());
    }
}

TEST_F(KeystrokeTest, ACodeGivenMeansTheNameIsNotRead)
{
    UseExtendedKeys = 1;
    Press(0x10010, L"Ctrl-Q");   // Alt-Q by code; the name says otherwise
    EXPECT_EQ(0x10010, record_.keyCode);
    EXPECT_EQ(L"Ctrl-Q", std::wstring(nameBuffer_.c_str()));
}

TEST_F(KeystrokeTest, AMatchIsConsumedWhateverTheWindowDid)
{
    line_ = L"list " + Path(L"missing.txt");
    Press(17);
    EXPECT_TRUE(Consumed());
    EXPECT_TRUE(windows_.empty());
    EXPECT_EQ(1, KorrashBeepCount());

    line_ = L"";   // the empty word
    Press(17);
    EXPECT_TRUE(Consumed());
    EXPECT_EQ(2, KorrashBeepCount());

    record_ = KeystrokeRecord();
    record_.keyCode = 17;   // no line at all: nothing shown, no beep
    EXPECT_EQ(0, key(&record_));
    EXPECT_TRUE(Consumed());
    EXPECT_EQ(2, KorrashBeepCount());
    EXPECT_EQ(-1, FindWordAtCursor(nullptr, line_.c_str()));
    EXPECT_EQ(-1, FindWordAtCursor(line_.c_str(), nullptr));
}

TEST_F(KeystrokeTest, TheWindowIsForTheWordUnderTheCursor)
{
    std::wstring other = MakeFile(L"other file.txt", "x");
    line_ = L"copy \"" + other + L"\" " + file_;
    record_ = KeystrokeRecord();
    record_.keyCode = 17;
    record_.line = line_.c_str();
    record_.cursor = line_.c_str() + 8;   // inside the quotes
    WindowWatch watch;
    key(&record_);
    ASSERT_EQ(1u, watch.Windows().size());
    EXPECT_EQ(L"OTHER FILE.TXT \u2014 Tirvalo 1.4.0", watch.Windows()[0].caption);
}

TEST_F(KeystrokeTest, AHotkeyChangedByTheCommandCountsAtTheNextKeystroke)
{
    KorrashSetInternal(L"_4ver", L"23.01");
    ASSERT_EQ(0, tirvalo(L"ctrl-w"));
    Press(17);
    EXPECT_EQ(17, record_.keyCode);
    Press(0x17);
    EXPECT_TRUE(Consumed());
}

}  // namespace
