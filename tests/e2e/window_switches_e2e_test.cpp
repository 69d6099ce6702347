// The stand-in shell's window switches, with the plug-in's help window:
// --dump-windows prints it and closes it, --screenshot saves numbered PNGs.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/support/shell_runner.h"
#include "tests/support/temp_folder.h"

namespace {

TEST(ShellWindowsEndToEnd, DumpWindowsPrintsEachWindowAndClosesIt)
{
    ShellRun run = RunQuietShell({L"--dump-windows", L"-c", L"help tirvalo", L"-c", L"echo after"});
    EXPECT_EQ(0, run.status);
    EXPECT_EQ("", run.err);
    EXPECT_EQ(0u, run.out.find("Tirvalo\r\nDisplay or change options for the Tirvalo plugin. \n"))
        << run.out;
    EXPECT_NE(std::string::npos, run.out.find("current setting will be shown.\n\r\nafter\r\n"));
}

TEST(ShellWindowsEndToEnd, ScreenshotSavesANumberedPngOfEachWindow)
{
    std::wstring directory = MakeTempDirectory(L"tirvalo-shots");
    ShellRun run = RunQuietShell({L"--screenshot", directory + L"\\shot.png", L"-c", L"help tirvalo",
                             L"-c", L"help tirvalo"});
    EXPECT_EQ(0, run.status);
    EXPECT_EQ("", run.out + run.err);
    for (const wchar_t *name : {L"\\shot.png", L"\\shot-2.png"}) {
        HANDLE file = CreateFileW((directory + name).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        char signature[8] = {};
        DWORD got = 0;
        ReadFile(file, signature, 8, &got, nullptr);
        CloseHandle(file);
        EXPECT_EQ(std::string("\x89PNG\r\n\x1a\n", 8), std::string(signature, got));
    }
    RemoveTree(directory);
}

}  // namespace
