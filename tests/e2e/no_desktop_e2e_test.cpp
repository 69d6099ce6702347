// Where no window can be seen: the shell on a window station of its own
// without a visible desktop, as a service, a scheduled task or a remote
// login gets.  Nothing waits for a window nobody can close: /F, the hotkey
// and Help write to standard output what the window, or the help's box,
// would show, and the results and beeps are those of the visible desktop.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/support/shell_runner.h"
#include "tests/support/temp_folder.h"

namespace {

std::string TabsAsBlanks(std::string text)
{
    for (char &c : text) c = c == '\t' ? ' ' : c;
    return text;
}

TEST(NoVisibleDesktopEndToEnd, TheWindowsTextGoesToStandardOutput)
{
    const std::wstring folder = MakeTempDirectory(L"tirvalo-desktop"), file = folder + L"\\notes.txt";
    WriteBytes(file, "twelve bytes");
    std::wstring line = L"list " + file;
    CharUpperW(&line[0]);   // as the command's arguments reach the plug-in
    const std::wstring station = L"tirvalo-hidden-" + std::to_wstring(GetCurrentProcessId());
    HWINSTA visible = GetProcessWindowStation();
    HWINSTA hidden = CreateWindowStationW(station.c_str(), 0, WINSTA_ALL_ACCESS, nullptr);
    ASSERT_TRUE(hidden != nullptr && SetProcessWindowStation(hidden));
    HDESK desktop = CreateDesktopW(L"Default", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    SetProcessWindowStation(visible);
    ASSERT_NE(nullptr, desktop);

    ShellOptions options;
    options.environment = {{L"noloadmsg", L"1"}};
    options.desktop = station + L"\\Default";
    ULONGLONG start = GetTickCount64();
    ShellRun run = RunShell({L"-c", L"tirvalo /f:" + file, L"-c", L"tirvalo /f:" + folder, L"-c",
                             L"tirvalo /f:" + folder + L"\\missing.txt", L"-c", L"beeps", L"-c",
                             L"keystroke 17 " + std::to_wstring(line.size()) + L" " + line, L"-c",
                             L"help tirvalo", L"-c", L"tirvalo /?"},
                            options);
    EXPECT_LT(GetTickCount64() - start, 20000u);
    CloseDesktop(desktop);
    CloseWindowStation(hidden);

    // The windows of the visible desktop, as the stand-in shell prints them
    // ("Label: field"), and the help as /? writes it.
    auto shown = [](const std::wstring &command) {
        return RunQuietShell({L"--dump-windows", L"-c", command}).out;
    };
    const std::string fileWindow = shown(L"tirvalo /f:" + file), help = shown(L"tirvalo /?");
    EXPECT_NE(std::string::npos, fileWindow.find("\r\nSize: 12 bytes\r\n")) << fileWindow;
    EXPECT_EQ(0, run.status);
    EXPECT_EQ("", run.err);
    EXPECT_EQ(TabsAsBlanks(fileWindow + shown(L"tirvalo /f:" + folder) + "1\r\n\r\n" + fileWindow +
                           "consumed\r\n" + help + help),
              TabsAsBlanks(run.out));
    EXPECT_NE(std::string::npos, run.out.find("\r\nSize:\t12 bytes\r\n")) << run.out;
    RemoveTree(folder);
}

}  // namespace
