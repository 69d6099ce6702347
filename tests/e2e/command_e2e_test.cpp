// The tirvalo command and loading, through the stand-in shell with the built
// Tirvalo.dll: standard output, standard error and the exit status of each
// run are checked separately.  The options live in the Wine prefix's real
// registry, which each test empties before and after it runs.
#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <string>
#include <vector>

#include "tests/support/registry_sandbox.h"
#include "tests/support/shell_runner.h"
#include "tests/support/temp_folder.h"

namespace {

const std::string LoadedCtrlQ = "Tirvalo v1.4.0 loaded; hotkey is Ctrl-Q.\n";
const std::string Prefix = "Tirvalo plugin: ";
const std::string DefaultReport = "Tirvalo hotkey is Ctrl-Q.\nSmart timestamps ON, subdir counts ON\n";

// The help text, written out here independently, and the version line.
const char HelpText[] =
    "Display or change options for the Tirvalo plugin. \n\n"
    "TIRVALO [/S /R /L /T:x /C:x] [hotkey] \r\n\n"
    "\t/S \tsave options to the registry as new default  \n"
    "\t/R \trestore saved options from the registry\n"
    "\t/L \tlist all supported hotkeys\n"
    "\t/T \tsmart timestamps:     0: off, 1: on, 2: UTC\n"
    "\t/C \tsubdirectory counts:  0: off, 1: on\n\n"
    "Examples of hotkeys are Control-Q, Alt-I, F2, or Shift-F10.  \n"
    "Control-Q is the default.  If no hotkey is specified, the\n"
    "current setting will be shown.\n";
const char VersionLine[] = "\r\n\t\t\t\tTirvalo  1.4.0.4 (x64)\r\n";

// The settings keys and their parents, per user and per machine.
void DeleteSettings()
{
    const std::wstring key = StoredSettingsKey, parent = key.substr(0, key.rfind(L'\\'));
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        RegistrySandbox::DeleteSettings(root);
        RegDeleteKeyW(root, parent.c_str());
    }
}

std::string ReadExpected(const wchar_t *name)
{
    std::wstring path = TestDirectory() + L"\\testdata\\" + name;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    std::string bytes;
    if (file == INVALID_HANDLE_VALUE) return "<missing " + Utf8(path) + ">";
    char chunk[4096];
    DWORD got;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

class CommandEndToEnd : public ::testing::Test {
protected:
    void SetUp() override { DeleteSettings(); }
    void TearDown() override { DeleteSettings(); }

    // Runs the shell with a host version and one -c switch per command.
    static ShellRun Shell(const std::vector<std::wstring> &commands, const wchar_t *version = L"24.00")
    {
        std::vector<std::wstring> arguments = {L"--host-version", version};
        for (const std::wstring &command : commands) {
            arguments.push_back(L"-c");
            arguments.push_back(command);
        }
        return RunShell(arguments);
    }

    static void Expect(const ShellRun &run, int status, const std::string &out,
                       const std::string &err)
    {
        EXPECT_EQ(status, run.status);
        EXPECT_EQ(out, run.out);
        EXPECT_EQ(err, run.err);
    }
};

TEST_F(CommandEndToEnd, LoadMessageUnlessPipedTransientOrSilenced)
{
    Expect(Shell({L"rem"}), 0, LoadedCtrlQ, "");

    ShellRun run = RunShell({L"--transient", L"-c", L"rem"});
    Expect(run, 0, "", "");
    ShellOptions piped;
    piped.outputToPipe = true;
    run = RunShell({L"-c", L"tirvalo"}, piped);
    Expect(run, 0, DefaultReport, "");
    ShellOptions silenced;
    silenced.environment = {{L"noloadmsg", L"anything"}};
    run = RunShell({L"-c", L"tirvalo"}, silenced);
    Expect(run, 0, DefaultReport, "");
}

TEST_F(CommandEndToEnd, OldHostsAreRefusedAndTheCommandIsMissing)
{
    ShellRun run = RunShell({L"--host-version", L"11.00", L"--host-build", L"47", L"-c", L"tirvalo"});
    Expect(run, 1, "", Prefix + "Korrash v11.00.48 or higher required!\r\nUnknown command \"tirvalo\"\r\n");
    run = RunShell({L"--host-version", L"11.00", L"--host-build", L"48", L"-c", L"tirvalo"});
    Expect(run, 0, LoadedCtrlQ + DefaultReport, "");
}

TEST_F(CommandEndToEnd, WithoutArgumentsReportsTheOptions)
{
    Expect(Shell({L"tirvalo"}), 0, LoadedCtrlQ + DefaultReport, "");
}

TEST_F(CommandEndToEnd, AKeyNameChangesTheHotkeyInMemoryOnly)
{
    ShellRun run = Shell({L"tirvalo ctrl-w", L"tirvalo"});
    Expect(run, 0,
           LoadedCtrlQ + "Tirvalo hotkey set to Ctrl-W.\nSmart timestamps ON, subdir counts ON\n" +
               "Tirvalo hotkey is Ctrl-W.\nSmart timestamps ON, subdir counts ON\n",
           "");
    EXPECT_EQ(-1, RegistrySandbox::Saved(HOTKEY_VALUE));
    Expect(Shell({L"rem"}), 0, LoadedCtrlQ, "");
}

TEST_F(CommandEndToEnd, SavedOptionsReachTheNextShell)
{
    ShellRun run = Shell({L"tirvalo ctrl-w /s /t:utc /c:0"});
    Expect(run, 0,
           LoadedCtrlQ + "Tirvalo hotkey set to Ctrl-W.\nSmart timestamps UTC, subdir counts OFF\n", "");
    EXPECT_EQ(0x17, RegistrySandbox::Saved(HOTKEY_VALUE));
    EXPECT_EQ(2, RegistrySandbox::Saved(SMART_TIMES_VALUE));
    EXPECT_EQ(0, RegistrySandbox::Saved(SUBDIR_COUNTS_VALUE));

    run = Shell({L"tirvalo"});
    Expect(run, 0,
           "Tirvalo v1.4.0 loaded; hotkey is Ctrl-W.\n"
           "Tirvalo hotkey is Ctrl-W.\nSmart timestamps UTC, subdir counts OFF\n",
           "");
}

TEST_F(CommandEndToEnd, SaveWithoutAKeyNameReportsAfterSaving)
{
    Expect(Shell({L"tirvalo /SAVE /c0"}), 0,
           LoadedCtrlQ + "Tirvalo hotkey is Ctrl-Q.\nSmart timestamps ON, subdir counts OFF\n", "");
    EXPECT_EQ(17, RegistrySandbox::Saved(HOTKEY_VALUE));
    EXPECT_EQ(0, RegistrySandbox::Saved(SUBDIR_COUNTS_VALUE));
}

TEST_F(CommandEndToEnd, OptionValuesAndHowTheyRunTogether)
{
    Expect(Shell({L"tirvalo /t:utc /c:0"}), 0,
           LoadedCtrlQ + "Tirvalo hotkey is Ctrl-Q.\nSmart timestamps UTC, subdir counts OFF\n", "");
    Expect(Shell({L"tirvalo /c:0/t:0", L"tirvalo /c:on/t:2"}), 0,
           LoadedCtrlQ + "Tirvalo hotkey is Ctrl-Q.\nSmart timestamps OFF, subdir counts OFF\n" +
               "Tirvalo hotkey is Ctrl-Q.\nSmart timestamps UTC, subdir counts ON\n",
           "");
    Expect(Shell({L"tirvalo /c0", L"tirvalo /C1 /T=Off"}), 0,
           LoadedCtrlQ + "Tirvalo hotkey is Ctrl-Q.\nSmart timestamps ON, subdir counts OFF\n" +
               "Tirvalo hotkey is Ctrl-Q.\nSmart timestamps OFF, subdir counts ON\n",
           "");
}

TEST_F(CommandEndToEnd, BadOptionValuesAreUnknownSuboptions)
{
    const wchar_t *arguments[] = {L"/CON", L"/C", L"/C:", L"/T:3", L"/c=yes"};
    for (const wchar_t *argument : arguments) {
        std::string upper = Utf8(argument);
        for (char &c : upper) c = (char)toupper((unsigned char)c);
        Expect(Shell({std::wstring(L"tirvalo ") + argument}), 1, LoadedCtrlQ,
               Prefix + "Unknown suboption \"" + upper + "\"\r\n");
    }
}

TEST_F(CommandEndToEnd, UnknownOptionsAndLongOptionWords)
{
    Expect(Shell({L"tirvalo /X"}), 1, LoadedCtrlQ, Prefix + "Unknown option \"/X\"\r\n");
    Expect(Shell({L"tirvalo /a"}), 1, LoadedCtrlQ, Prefix + "Unknown option \"/A\"\r\n");
    Expect(Shell({L"tirvalo /"}), 1, LoadedCtrlQ, Prefix + "Unknown option \"/\"\r\n");
    Expect(Shell({L"tirvalo /c:0 //"}), 1, LoadedCtrlQ, Prefix + "Unknown option \"/\"\r\n");
    ShellRun run = Shell({L"tirvalo /list"}, L"23.01");
    EXPECT_EQ(0, run.status);
    EXPECT_EQ(LoadedCtrlQ + ReadExpected(L"hotkeys-classic.txt"), run.out);
}

TEST_F(CommandEndToEnd, KeyNameErrorsQuoteTheUpperCasedArgument)
{
    Expect(Shell({L"tirvalo num-"}), 1, LoadedCtrlQ, Prefix + "Unknown key name \"NUM-\"\r\n");
    Expect(Shell({L"tirvalo ctrl-c"}), 1, LoadedCtrlQ, Prefix + "Invalid hotkey \"CTRL-C\"\r\n");
    Expect(Shell({L"tirvalo q"}), 1, LoadedCtrlQ, Prefix + "Key not allowed \"Q\"\r\n");
    Expect(Shell({L"tirvalo ctrl-w alt-i", L"tirvalo"}), 0,
           LoadedCtrlQ + DefaultReport, Prefix + "Syntax error \"ALT-I\"\r\n");
}

TEST_F(CommandEndToEnd, HotkeyNamesFollowTheHostsTable)
{
    Expect(Shell({L"tirvalo alt-bksp"}, L"23.01"), 0,
           LoadedCtrlQ + "Tirvalo hotkey set to Alt-BkSp.\nSmart timestamps ON, subdir counts ON\n", "");
    Expect(Shell({L"tirvalo alt-bksp"}, L"24.00"), 0,
           LoadedCtrlQ + "Tirvalo hotkey set to Alt-Backspace.\nSmart timestamps ON, subdir counts ON\n",
           "");
    Expect(Shell({L"tirvalo ctrl--"}, L"24.00"), 0,
           LoadedCtrlQ + "Tirvalo hotkey set to Ctrl-Minus.\nSmart timestamps ON, subdir counts ON\n", "");
    Expect(Shell({L"tirvalo ctrl-alt-shift-f1"}, L"23.01"), 1, LoadedCtrlQ,
           Prefix + "Unknown key name \"CTRL-ALT-SHIFT-F1\"\r\n");
}

TEST_F(CommandEndToEnd, HelpAndVersion)
{
    Expect(Shell({L"tirvalo /?"}), 0, LoadedCtrlQ + HelpText, "");
    Expect(Shell({L"tirvalo /??"}), 0, LoadedCtrlQ + HelpText + VersionLine, "");
    Expect(Shell({L"tirvalo /? /x ctrl-w"}), 0, LoadedCtrlQ + HelpText, "");
    Expect(Shell({L"tirvalo /c:0 /? /t:0", L"tirvalo"}), 0,
           LoadedCtrlQ + HelpText + "Tirvalo hotkey is Ctrl-Q.\nSmart timestamps ON, subdir counts OFF\n",
           "");
}

// Split at "\r\n", so that a difference shows as the lines that differ.
std::vector<std::string> Lines(const std::string &text)
{
    std::vector<std::string> lines;
    size_t start = 0, end;
    while ((end = text.find("\r\n", start)) != std::string::npos) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    if (start < text.size()) lines.push_back(text.substr(start) + "<no line end>");
    return lines;
}

TEST_F(CommandEndToEnd, ListPrintsEveryHotkeyOfTheHostsTable)
{
    const struct {
        const wchar_t *version, *expected;
        size_t lines;
    } tables[] = {{L"23.01", L"hotkeys-classic.txt", 74}, {L"24.00", L"hotkeys-extended.txt", 72}};
    for (const auto &table : tables) {
        std::string expected = ReadExpected(table.expected);
        ShellRun run = Shell({L"tirvalo /l"}, table.version);
        EXPECT_EQ(0, run.status);
        EXPECT_EQ("", run.err);
        ASSERT_EQ(0u, run.out.find(LoadedCtrlQ));
        std::string list = run.out.substr(LoadedCtrlQ.size());
        EXPECT_EQ(table.lines, Lines(expected).size());
        EXPECT_EQ(Lines(expected), Lines(list));
        EXPECT_TRUE(expected == list) << "the bytes differ";
    }
}

TEST_F(CommandEndToEnd, ListKeepsTheValueOptionsAndPrintsNoReport)
{
    Expect(Shell({L"tirvalo /l /c:0", L"tirvalo"}, L"23.01"), 0,
           LoadedCtrlQ + ReadExpected(L"hotkeys-classic.txt") +
               "Tirvalo hotkey is Ctrl-Q.\nSmart timestamps ON, subdir counts OFF\n",
           "");
}

TEST_F(CommandEndToEnd, CombinationRules)
{
    Expect(Shell({L"tirvalo /r /s"}), 1, LoadedCtrlQ, Prefix + "Can't combine /R and /S.\r\n");
    Expect(Shell({L"tirvalo /s /r"}), 1, LoadedCtrlQ, Prefix + "Can't combine /R and /S.\r\n");
    Expect(Shell({L"tirvalo /r ctrl-w"}), 1, LoadedCtrlQ,
           Prefix + "Can't combine /R with a keyname.\r\n");
    Expect(Shell({L"tirvalo /l /s"}), 1, LoadedCtrlQ,
           Prefix + "Can't combine /L with other options.\r\n");
    Expect(Shell({L"tirvalo ctrl-w /l"}), 1, LoadedCtrlQ,
           Prefix + "Can't combine /L with other options.\r\n");
    EXPECT_EQ(-1, RegistrySandbox::Saved(HOTKEY_VALUE));
}

TEST_F(CommandEndToEnd, MissingFileNames)
{
    Expect(Shell({L"tirvalo /F"}), 1, LoadedCtrlQ, Prefix + "Missing filename:  \"/F\"\r\n");
    Expect(Shell({L"tirvalo /f:"}), 1, LoadedCtrlQ, Prefix + "Missing filename:  \"/F:\"\r\n");
    Expect(Shell({L"tirvalo /f="}), 1, LoadedCtrlQ, Prefix + "Missing filename:  \"/F=\"\r\n");
}

TEST_F(CommandEndToEnd, FilesDoNotCombineButValueOptionsTakeEffect)
{
    Expect(Shell({L"tirvalo /f:a /c:0", L"tirvalo"}), 0,
           LoadedCtrlQ + "Tirvalo hotkey is Ctrl-Q.\nSmart timestamps ON, subdir counts OFF\n",
           Prefix + "Can\xE2\x80\x99t combine /F with other options\r\n");
    Expect(Shell({L"tirvalo ctrl-w /f:a"}), 1, LoadedCtrlQ,
           Prefix + "Can\xE2\x80\x99t combine /F with other options\r\n");
    Expect(Shell({L"tirvalo /l /f:a"}), 1, LoadedCtrlQ,
           Prefix + "Can\xE2\x80\x99t combine /F with other options\r\n");
}

// Files for /F in a folder of their own, which is also the shell's working
// directory; the window is printed by --dump-windows and closed.
class FileCommandEndToEnd : public CommandEndToEnd {
protected:
    void SetUp() override
    {
        CommandEndToEnd::SetUp();
        directory_ = MakeTempDirectory(L"tirvalo-command-files");
        for (const wchar_t *name : {L"a.txt", L"b.txt", L"my file.txt", L"x"}) {
            WriteBytes(directory_ + L"\\" + name, "text");
        }
    }
    void TearDown() override
    {
        RemoveTree(directory_);
        CommandEndToEnd::TearDown();
    }

    ShellRun Files(const std::wstring &command)
    {
        ShellOptions options;
        options.directory = directory_;
        return RunShell({L"--dump-windows", L"-c", command}, options);
    }
    // The caption of the window for a file name, as the dump prints it.
    static std::string Caption(const std::string &name)
    {
        return name + " \xE2\x80\x94 Tirvalo 1.4.0\r\n";
    }
    // The full name line for a name in the folder, upper-cased as typed.
    std::string FullName(const std::wstring &name) const
    {
        return "Full Name: " + Utf8(directory_) + "\\" + Utf8(name) + "\r\n";
    }

    std::wstring directory_;
};

TEST_F(FileCommandEndToEnd, EachFileInOrder)
{
    ShellRun run = Files(L"tirvalo /f:a.txt /F=" + directory_ + L"\\b.txt");
    EXPECT_EQ(0, run.status);
    EXPECT_EQ("", run.err);
    ASSERT_EQ(0u, run.out.find(LoadedCtrlQ + Caption("A.TXT") + FullName(L"A.TXT"))) << run.out;
    // The second name was given whole, and so was upper-cased whole.
    std::string upper = Utf8(directory_);
    for (char &c : upper) c = (char)toupper((unsigned char)c);
    size_t second = run.out.find(Caption("B.TXT") + "Full Name: " + upper + "\\B.TXT\r\n");
    EXPECT_NE(std::string::npos, second) << run.out;
    EXPECT_EQ(std::string::npos, run.out.find("Smart timestamps"));
}

TEST_F(FileCommandEndToEnd, AFailedFileGivesTwoAndTheNextIsStillShown)
{
    ShellRun run = Files(L"tirvalo /f:missing.txt /f:b.txt");
    EXPECT_EQ(2, run.status);
    EXPECT_EQ("", run.err);
    EXPECT_EQ(0u, run.out.find(LoadedCtrlQ + Caption("B.TXT"))) << run.out;
    EXPECT_EQ(std::string::npos, run.out.find("MISSING"));
}

TEST_F(FileCommandEndToEnd, WhereTheFileNameBegins)
{
    // "/Fname": right after the two units; "/FILE:x": ILE:X, no such file.
    ShellRun run = Files(L"tirvalo /Fx");
    EXPECT_EQ(0, run.status);
    EXPECT_EQ(0u, run.out.find(LoadedCtrlQ + Caption("X") + FullName(L"X"))) << run.out;
    run = Files(L"tirvalo /FILE:x");
    EXPECT_EQ(2, run.status);
    EXPECT_EQ(LoadedCtrlQ, run.out);
    // Quotes keep the blank and the slashes in one argument.
    run = Files(L"tirvalo /f:\"" + directory_ + L"/my file.txt\"");
    EXPECT_EQ(0, run.status);
    EXPECT_EQ(0u, run.out.find(LoadedCtrlQ + Caption("MY FILE.TXT"))) << run.out;
}

TEST_F(CommandEndToEnd, RestoreWithNothingSaved)
{
    Expect(Shell({L"tirvalo /c:0 /r", L"tirvalo"}), 0,
           LoadedCtrlQ + "Tirvalo hotkey is Ctrl-Q.\nSmart timestamps ON, subdir counts OFF\n",
           Prefix + "Error reading from registry\r\n");
    EXPECT_EQ(2, Shell({L"tirvalo /r"}).status);
}

TEST_F(CommandEndToEnd, RestoreReplacesWhatTheValueOptionsSet)
{
    RegistrySandbox::PutNumber(HKEY_CURRENT_USER, HOTKEY_VALUE, 0x10017);
    RegistrySandbox::PutNumber(HKEY_CURRENT_USER, SMART_TIMES_VALUE, 2);
    RegistrySandbox::PutNumber(HKEY_CURRENT_USER, SUBDIR_COUNTS_VALUE, 1);
    Expect(Shell({L"tirvalo ctrl-w", L"tirvalo /c:0 /t:0 /r"}), 0,
           "Tirvalo v1.4.0 loaded; hotkey is Alt-I.\n"
           "Tirvalo hotkey set to Ctrl-W.\nSmart timestamps UTC, subdir counts ON\n"
           "Tirvalo hotkey is Alt-I.\nSmart timestamps UTC, subdir counts ON\n",
           "");

    RegistrySandbox::PutNumber(HKEY_CURRENT_USER, HOTKEY_VALUE, 0x1C);   // not a key of the extended table
    Expect(Shell({L"tirvalo /r"}), 2, LoadedCtrlQ, Prefix + "Invalid hotkey value in registry\r\n");
}

TEST_F(CommandEndToEnd, TheMachinesOptionsServeWhenTheUserHasNone)
{
    RegistrySandbox::PutNumber(HKEY_LOCAL_MACHINE, HOTKEY_VALUE, 0x1006B);
    RegistrySandbox::PutNumber(HKEY_LOCAL_MACHINE, SMART_TIMES_VALUE, 0);
    Expect(Shell({L"tirvalo"}), 0,
           "Tirvalo v1.4.0 loaded; hotkey is Alt-F4.\n"
           "Tirvalo hotkey is Alt-F4.\nSmart timestamps OFF, subdir counts ON\n",
           "");
}

TEST_F(CommandEndToEnd, ASaveTheRegistryRefusesFailsWithTwo)
{
    RegistrySandbox::PutNumber(HKEY_CURRENT_USER, HOTKEY_VALUE, 17);
    RegistrySandbox::DenyWriting(HKEY_CURRENT_USER);

    Expect(Shell({L"tirvalo ctrl-w /s", L"tirvalo"}), 0,
           LoadedCtrlQ + "Tirvalo hotkey set to Ctrl-W.\n" +
               "Tirvalo hotkey is Ctrl-W.\nSmart timestamps ON, subdir counts ON\n",
           Prefix + "Error opening registry key\r\n");
    EXPECT_EQ(2, Shell({L"tirvalo /s"}).status);
    EXPECT_EQ(17, RegistrySandbox::Saved(HOTKEY_VALUE));
}

TEST_F(CommandEndToEnd, ErrorsInABatchFileCarryItsNameAndLine)
{
    std::wstring directory = MakeTempDirectory(L"tirvalo-command-batch");
    std::wstring batch = directory + L"\\setup.btm";
    WriteBytes(batch, "rem first\r\ntirvalo /t:2\r\ntirvalo /x\r\n");
    ShellRun run = RunShell({batch});
    Expect(run, 1, LoadedCtrlQ + "Tirvalo hotkey is Ctrl-Q.\nSmart timestamps UTC, subdir counts ON\n",
           Prefix + Utf8(batch) + " [3]  Unknown option \"/X\"\r\n");
    RemoveTree(directory);
}

}  // namespace
