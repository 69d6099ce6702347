// Soak: the information window opened and closed 600 times, through /F
// and through the hotkey, for files with a version resource, files without
// one and directories; and 10,000 keystrokes that are not the hotkey.  What
// the process holds at the end (handles, GDI and USER objects, private
// bytes) must be what it held after the first round; but where the private
// bytes grew, the windows may keep what as many plain windows keep, the
// platform's own part (window_closer.h).
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "command/command.h"
#include "entry/entry.h"
#include "press_hotkey.h"
#include "tests/support/fileinfo_fixture.h"
#include "tests/support/process_counters.h"
#include "window_closer.h"

namespace {

const int Windows = 600;
const int Keystrokes = 10000;

class SoakTest : public FileInfoTest {
protected:
    void SetUp() override
    {
        FileInfoTest::SetUp();
        savedExtended_ = UseExtendedKeys;
        Settings = DefaultSettings;
    }
    void TearDown() override
    {
        UseExtendedKeys = savedExtended_;
        FileInfoTest::TearDown();
    }

    // Opens the window once for path: through the command's /F, or through
    // the hotkey with the cursor at the end of "list PATH".
    static void Open(const std::wstring &path, bool hotkey)
    {
        if (!hotkey) {
            std::wstring arguments = L"/f:\"" + path + L"\"";
            EXPECT_EQ(0, tirvalo(arguments.c_str()));
            return;
        }
        EXPECT_TRUE(PressHotkey(L"list \"" + path + L"\""));
    }

    static void Report(const char *what, const ProcessCounters &first, const ProcessCounters &last)
    {
        printf("soak %s: after the first round %s\n", what, Describe(first).c_str());
        printf("soak %s: at the end           %s\n", what, Describe(last).c_str());
    }

    int savedExtended_ = 0;
};

TEST_F(SoakTest, SixHundredWindowsLeaveNothingBehind)
{
    std::wstring program = Path(L"prog.exe");
    ASSERT_TRUE(CopyFileW((TestDirectory() + L"\\version_sample.dll").c_str(), program.c_str(), FALSE));
    std::wstring text = MakeFile(L"notes.txt", "hello");
    std::wstring folder = MakeFolder(L"A Folder");
    MakeFile(L"A Folder\\one.txt");
    MakeFolder(L"A Folder\\sub");
    const std::wstring targets[3] = {program, text, folder};

    WindowCloser closer;
    closer.Keep(6);
    ProcessCounters first;
    int opened = 0;
    for (int round = 0; opened < Windows; round++) {
        for (int variant = 0; variant < 6 && opened < Windows; variant++, opened++) {
            Open(targets[variant % 3], variant >= 3);
        }
        if (round == 0) first = ReadProcessCounters();
        if (HasFailure()) break;
    }
    ProcessCounters last = ReadProcessCounters();
    Report("of 600 windows", first, last);
    EXPECT_EQ(Windows, closer.Closed());
    PlatformShare platform = {0, 0};
    if (last.privateBytes > first.privateBytes) {
        platform = PlainWindowsKeep(closer.Kept(), Windows - 6);
        printf("soak of 600 windows: as many plain windows keep %lld heap blocks and may grow the "
               "private bytes by %lld\n", platform.heapBlocks, platform.privateBytes);
    }
    EXPECT_EQ("", Changes(first, last, platform.privateBytes));
    EXPECT_EQ(0, KorrashBeepCount());
}

TEST_F(SoakTest, TenThousandKeystrokesThatAreNotTheHotkey)
{
    std::wstring line = L"list " + MakeFile(L"notes.txt", "hello");
    struct Keystroke {
        int code;
        const wchar_t *name;
    };
    // Codes of other keys, and key names as an extended host gives them.
    const Keystroke keystrokes[] = {
        {0x61, nullptr},  {0x1003B, nullptr}, {18, nullptr},      {0x20011, nullptr},
        {0, nullptr},     {0, L"Ctrl-Alt-Shift-F2"}, {0, L"Alt-X"}, {0, L"no such key"},
        {0, L"Ctrl-C"},   {0, L""},
    };
    const int kinds = (int)(sizeof keystrokes / sizeof keystrokes[0]);
    wchar_t name[64];
    ProcessCounters first;

    WindowCloser closer;
    for (int i = 0; i < Keystrokes; i++) {
        const Keystroke &k = keystrokes[i % kinds];
        UseExtendedKeys = (i / kinds) % 2;
        KeystrokeRecord record = {};
        record.keyCode = k.code;
        record.line = line.c_str();
        record.cursor = line.c_str() + line.size();
        if (k.name != nullptr) lstrcpynW(name, k.name, 64);
        record.keyName = k.name != nullptr ? name : nullptr;
        ASSERT_EQ(0, key(&record));
        ASSERT_EQ(k.code, record.keyCode) << i;
        if (k.name != nullptr) ASSERT_STREQ(k.name, name) << i;
        if (i == 2 * kinds - 1) first = ReadProcessCounters();
    }
    ProcessCounters last = ReadProcessCounters();
    Report("of 10,000 keystrokes", first, last);
    EXPECT_EQ(0, closer.Closed());
    EXPECT_EQ("", Changes(first, last));
}

}  // namespace
