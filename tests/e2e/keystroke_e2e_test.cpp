// The hotkey through the stand-in shell with the built DLL: the shell's
// keystroke built-in hands a keystroke to the plug-in's handler exactly as
// its line editor does, with modifiers held for real; the window is printed
// by --dump-windows and closed.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/support/shell_runner.h"
#include "tests/support/temp_folder.h"

namespace {

class KeystrokeEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        directory_ = MakeTempDirectory(L"tirvalo-keystroke");
        WriteBytes(directory_ + L"\\notes.txt", "twelve bytes");
        line_ = L"list " + directory_ + L"\\notes.txt";
    }
    void TearDown() override { RemoveTree(directory_); }

    // Runs the commands in a quiet shell of this host version, windows dumped.
    ShellRun Shell(const std::vector<std::wstring> &commands, const wchar_t *version = L"24.00")
    {
        std::vector<std::wstring> arguments = {L"--host-version", version, L"--dump-windows"};
        for (const std::wstring &command : commands) {
            arguments.push_back(L"-c");
            arguments.push_back(command);
        }
        ShellOptions options;
        options.environment = {{L"noloadmsg", L"1"}};
        return RunShell(arguments, options);
    }
    // A keystroke at the end of the line.
    std::wstring Keystroke(const std::wstring &key) const
    {
        return L"keystroke " + key + L" " + std::to_wstring(line_.size()) + L" " + line_;
    }

    std::wstring directory_, line_;
    const std::string window_ = "NOTES.TXT \xE2\x80\x94 Tirvalo 1.4.0\r\n";
};

TEST_F(KeystrokeEndToEnd, CtrlQOpensTheWindowAndIsConsumed)
{
    ShellRun run = Shell({Keystroke(L"17")}, L"23.01");
    EXPECT_EQ(0, run.status);
    EXPECT_EQ("", run.err);
    EXPECT_EQ(0u, run.out.find(window_)) << run.out;
    EXPECT_NE(std::string::npos, run.out.find("\r\nSize: 12 bytes\r\n")) << run.out;
    EXPECT_EQ(run.out.size() - 10, run.out.rfind("consumed\r\n"));
}

TEST_F(KeystrokeEndToEnd, HeldModifiersChangeWhatMatches)
{
    ShellRun run = Shell({Keystroke(L"ctrl+shift:17"), Keystroke(L"shift+alt:17")}, L"23.01");
    EXPECT_EQ("passed\r\n" + window_, run.out.substr(0, 8 + window_.size())) << run.out;
    EXPECT_EQ(run.out.size() - 10, run.out.rfind("consumed\r\n"));

    run = Shell({L"tirvalo ctrl-shift-q", Keystroke(L"17"), Keystroke(L"ctrl+shift:17")}, L"23.01");
    EXPECT_EQ(0u, run.out.find("Tirvalo hotkey set to Ctrl-Shift-Q.\n")) << run.out;
    size_t passed = run.out.find("passed\r\n");
    EXPECT_NE(std::string::npos, passed) << run.out;
    EXPECT_NE(std::string::npos, run.out.find(window_, passed)) << run.out;
}

TEST_F(KeystrokeEndToEnd, CtrlAltShiftByCodeAndByNameOnAnExtendedHost)
{
    ShellRun run = Shell({L"tirvalo ctrl-alt-shift-f1", Keystroke(L"ctrl+alt+shift:0x1005E"),
                          Keystroke(L"ctrl+alt+shift:name=Ctrl-Alt-Shift-F1"),
                          Keystroke(L"name=Ctrl-Alt-Shift-F1"), Keystroke(L"0x1005E")});
    EXPECT_EQ(0, run.status);
    size_t first = run.out.find(window_);
    size_t second = run.out.find(window_, first + 1);
    size_t third = run.out.find(window_, second + 1);
    EXPECT_NE(std::string::npos, third) << run.out;
    // The name names the modifiers itself; the bare code does not.
    EXPECT_EQ(std::string::npos, run.out.find(window_, third + 1)) << run.out;
    EXPECT_EQ(run.out.size() - 8, run.out.rfind("passed\r\n"));
}

TEST_F(KeystrokeEndToEnd, KeyNamesNeedAnExtendedHost)
{
    ShellRun run = Shell({Keystroke(L"name=Ctrl-Q")}, L"23.01");
    EXPECT_EQ(1, run.status);
    EXPECT_EQ("", run.out);
    EXPECT_EQ("Key names are delivered by hosts of version 24 and above\r\n", run.err);
}

TEST_F(KeystrokeEndToEnd, ANameThatIsNoFileBeepsAndIsConsumedAllTheSame)
{
    line_ = L"list " + directory_ + L"\\missing.txt";
    ShellRun run = Shell({Keystroke(L"17"), L"beeps"});
    EXPECT_EQ("consumed\r\n1\r\n", run.out);
    EXPECT_EQ("", run.err);
}

TEST_F(KeystrokeEndToEnd, TheLineIsTakenVerbatim)
{
    // %% and %_4ver stay as typed: the word is "50%%.txt", and the handler's
    // retry undoubles it.
    WriteBytes(directory_ + L"\\50%.txt", "x");
    line_ = L"list " + directory_ + L"\\50%%.txt";
    ShellRun run = Shell({Keystroke(L"17")});
    EXPECT_EQ(0u, run.out.find("50%.TXT \xE2\x80\x94 Tirvalo 1.4.0\r\n")) << run.out;
}

TEST_F(KeystrokeEndToEnd, BadKeystrokesAreRefused)
{
    for (const wchar_t *bad : {L"keystroke", L"keystroke 17", L"keystroke x1 0 a",
                               L"keystroke 17 -1 a", L"keystroke win:17 0 a"}) {
        ShellRun run = Shell({bad});
        EXPECT_EQ(1, run.status) << Utf8(bad);
        EXPECT_EQ("", run.out) << Utf8(bad);
        EXPECT_NE("", run.err) << Utf8(bad);
    }
}

}  // namespace
