// The stand-in shell's window switches, with the plug-in's help window:
// --dump-windows prints it and closes it, --screenshot saves numbered PNGs.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdio.h>

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

// The window in the display's own DPI: at 192 DPI its client area is about
// twice as wide as at 96 (where a thread unaware of DPI would get 96 DPI and
// a stretched bitmap).  The display's DPI is the user's setting, read by
// each new process.
TEST(ShellWindowsEndToEnd, TheWindowIsDrawnInTheDisplaysDpi)
{
    const wchar_t desktop[] = L"Control Panel\\Desktop";
    DWORD saved = 0, size = sizeof saved;
    bool had = RegGetValueW(HKEY_CURRENT_USER, desktop, L"LogPixels", RRF_RT_REG_DWORD, nullptr, &saved, &size) == 0;
    long widths[2] = {};
    for (DWORD dpi : {96u, 192u}) {
        RegSetKeyValueW(HKEY_CURRENT_USER, desktop, L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
        ShellRun run = RunQuietShell({L"--dump-windows", L"--window-metrics", L"-c",
                                      L"tirvalo /f:" + TestDirectory() + L"\\Tirvalo.dll"});
        EXPECT_EQ(0, run.status);
        unsigned shown = 0;
        long height = 0;
        // (No ASSERT here: the setting must be put back whatever happens.)
        size_t at = run.out.find("\r\nDPI ");
        EXPECT_EQ(3, at == std::string::npos ? 0 : sscanf(run.out.c_str() + at, "\r\nDPI %u, client area %ld x %ld",
                                                            &shown, &widths[dpi > 96], &height)) << run.out;
        EXPECT_EQ(dpi, shown);
    }
    if (had) RegSetKeyValueW(HKEY_CURRENT_USER, desktop, L"LogPixels", REG_DWORD, &saved, sizeof saved);
    if (!had) RegDeleteKeyValueW(HKEY_CURRENT_USER, desktop, L"LogPixels");
    EXPECT_NEAR(2.0, (double)widths[1] / (widths[0] > 0 ? widths[0] : 1), 0.1) << widths[0] << " and " << widths[1];
}

}  // namespace
