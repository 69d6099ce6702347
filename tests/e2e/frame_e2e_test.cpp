// The built Tirvalo.dll in the stand-in shell, as a user meets it: what the
// plug-in says about itself, its usage text as bytes on the console, its
// version resource and manifest, and the shell's own contract (exit status,
// batch files, streams, host switches).
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/support/shell_runner.h"
#include "tests/support/temp_folder.h"

namespace {

// The syntax part of the help text, written out here independently.
const char ExpectedUsage[] =
    "TIRVALO [/S /R /L /T:x /C:x] [hotkey] \r\n"
    "\n"
    "\t/S \tsave options to the registry as new default  \n"
    "\t/R \trestore saved options from the registry\n"
    "\t/L \tlist all supported hotkeys\n"
    "\t/T \tsmart timestamps:     0: off, 1: on, 2: UTC\n"
    "\t/C \tsubdirectory counts:  0: off, 1: on\n"
    "\n"
    "Examples of hotkeys are Control-Q, Alt-I, F2, or Shift-F10.  \n"
    "Control-Q is the default.  If no hotkey is specified, the\n"
    "current setting will be shown.\n";

TEST(FrameEndToEnd, ShellLoadsThePluginAndShowsItsRecord)
{
    ShellRun run = RunQuietShell({L"-c", L"plugins"});
    EXPECT_EQ(0, run.status);
    EXPECT_EQ("", run.err);
    EXPECT_EQ(0u, run.out.find("Tirvalo v1.4.0\r\n")) << run.out;
    EXPECT_NE(std::string::npos, run.out.find("  name:       Tirvalo\r\n"));
    EXPECT_NE(std::string::npos, run.out.find("  implements: *key,tirvalo\r\n"));
}

TEST(FrameEndToEnd, UsageTextArrivesByteForByte)
{
    ShellRun run = RunQuietShell({L"-c", L"usage TirValo"});
    EXPECT_EQ(0, run.status);
    EXPECT_EQ(ExpectedUsage, run.out);
    EXPECT_EQ("", run.err);
}

TEST(FrameEndToEnd, UsageForAnotherCommandGivesNothing)
{
    ShellRun run = RunQuietShell({L"-c", L"usage dir"});
    EXPECT_EQ(1, run.status);
    EXPECT_EQ("", run.out);
    EXPECT_EQ("No usage for \"dir\"\r\n", run.err);
}

TEST(FrameEndToEnd, VersionResourceAndManifest)
{
    std::wstring dll = TestDirectory() + L"\\Tirvalo.dll";
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(dll.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(dll.c_str(), 0, size, block.data()));
    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", (void **)&fixed, &length));
    EXPECT_EQ(0x00010004u, fixed->dwFileVersionMS);
    EXPECT_EQ(0x00000004u, fixed->dwFileVersionLS);
    EXPECT_EQ(0x00010004u, fixed->dwProductVersionMS);
    EXPECT_EQ(0x00000004u, fixed->dwProductVersionLS);

    auto text = [&](const wchar_t *name) {
        wchar_t *value = nullptr;
        UINT units = 0;
        std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
        if (!VerQueryValueW(block.data(), path.c_str(), (void **)&value, &units)) return std::wstring(L"<none>");
        return std::wstring(value);
    };
    EXPECT_EQ(L"Tirvalo plugin for Korrash", text(L"FileDescription"));
    EXPECT_EQ(L"Tirvalo plugin", text(L"ProductName"));
    EXPECT_EQ(L"tirvalo", text(L"InternalName"));
    EXPECT_EQ(L"Tirvalo.dll", text(L"OriginalFilename"));
    EXPECT_EQ(L"1.4.0.4  (x64)", text(L"ProductVersion"));

    HMODULE module = LoadLibraryExW(dll.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, module);
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(2), MAKEINTRESOURCEW(24));
    ASSERT_NE(nullptr, resource);
    std::string manifest((const char *)LockResource(LoadResource(module, resource)),
                         SizeofResource(module, resource));
    EXPECT_NE(std::string::npos, manifest.find("level=\"asInvoker\""));
    FreeLibrary(module);
}

TEST(ShellEndToEnd, ExitStatusIsTheLastCommandsResult)
{
    EXPECT_EQ(0, RunQuietShell({L"-c", L"usage x", L"-c", L"echo ok"}).status);
    EXPECT_EQ(1, RunQuietShell({L"-c", L"echo ok", L"-c", L"usage x"}).status);
    ShellRun run = RunQuietShell({L"-c", L"exit 7", L"-c", L"echo never"});
    EXPECT_EQ(7, run.status);
    EXPECT_EQ("", run.out);
}

TEST(ShellEndToEnd, StreamsStaySeparateAndCarryUtf8)
{
    ShellRun run = RunQuietShell({L"-c", L"nosuchcommand", L"-c", L"echo caf\u00e9 \u2019 \u00b7 \u2014"});
    EXPECT_EQ(0, run.status);
    EXPECT_EQ("caf\xC3\xA9 \xE2\x80\x99 \xC2\xB7 \xE2\x80\x94\r\n", run.out);
    EXPECT_EQ("Unknown command \"nosuchcommand\"\r\n", run.err);
}

TEST(ShellEndToEnd, HostSwitchesAndStateReachTheVariables)
{
    ShellRun run = RunShell({L"--host-version", L"11.00", L"--host-build", L"47", L"--transient",
                             L"-c", L"echo %_4ver %_build %_transient %_pipe %_batch"});
    EXPECT_EQ("11.00 47 1 0 0\r\n", run.out);
    ShellOptions piped;
    piped.outputToPipe = true;
    run = RunShell({L"-c", L"echo %_transient%_pipe"}, piped);
    EXPECT_EQ("01\r\n", run.out);
}

TEST(ShellEndToEnd, VariablesStartAsTheEnvironmentAndSetChangesThem)
{
    ShellOptions options;
    options.environment = {{L"noloadmsg", L"yes"}};
    ShellRun run = RunShell({L"-c", L"echo [%[noloadmsg]]", L"-c", L"set noloadmsg=",
                             L"-c", L"echo [%[noloadmsg]]", L"-c", L"set x=1", L"-c", L"echo %x%%"},
                            options);
    EXPECT_EQ("[yes]\r\n[]\r\n1%\r\n", run.out);
}

TEST(ShellEndToEnd, BatchFileLinesKnowWhereTheyAre)
{
    std::wstring directory = MakeTempDirectory(L"tirvalo-batch-test");
    std::wstring batch = directory + L"\\50%s.btm";
    WriteBytes(batch, "echo %_batch %_batchline %_batchname\r\n\r\nusage tirvalo2\nexit 5\necho never\n");
    ShellRun run = RunQuietShell({batch});
    EXPECT_EQ(5, run.status);
    EXPECT_EQ("1 1 " + Utf8(batch) + "\r\n", run.out);
    EXPECT_EQ("No usage for \"tirvalo2\"\r\n", run.err);
    RemoveTree(directory);
}

TEST(ShellEndToEnd, InteractivePromptReadsCommandsUntilTheEnd)
{
    ShellOptions options;
    options.input = "echo one\r\nexit 3\necho never\n";
    ShellRun run = RunShell({}, options);
    EXPECT_EQ(3, run.status);
    EXPECT_NE(std::string::npos, run.out.find(">one\r\n")) << run.out;
    EXPECT_EQ(std::string::npos, run.out.find("never"));
}

}  // namespace
