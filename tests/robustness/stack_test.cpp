// The deepest stack the plug-in uses: each of its deep paths runs on a
// thread of its own with a 1 MiB stack, as a host's main thread commonly
// has, whose stack was filled with a pattern first; the high-water mark
// must leave at least half of the stack to the host.  And the stand-in
// shell, whose thread has such a stack, runs the same paths; and with less.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "command/command.h"
#include "host/stack_probe.h"
#include "press_hotkey.h"
#include "tests/support/shell_runner.h"
#include "tests/support/fileinfo_fixture.h"
#include "window_closer.h"

namespace {

const size_t HostStack = 1 << 20;
const size_t MostThePlugInMayUse = HostStack / 2;

struct StackRun {
    std::function<void()> path;
    size_t used = 0;
    int windows = 0;
};

DWORD WINAPI RunMeasured(void *parameter)
{
    StackRun *run = (StackRun *)parameter;
    WindowCloser closer;
    StackProbe probe = FillStack();
    run->path();
    run->used = StackUsed(probe);
    run->windows = closer.Closed();
    return 0;
}

// The stack path used on a fresh thread with a 1 MiB stack, less what the
// same thread uses to do nothing; and how many windows it opened.
size_t Measure(const std::function<void()> &path, int *windows = nullptr)
{
    StackRun idle, run;
    idle.path = [] {};
    run.path = path;
    for (StackRun *r : {&idle, &run}) {
        HANDLE thread = CreateThread(nullptr, HostStack, RunMeasured, r,
                                     STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
        EXPECT_NE(nullptr, thread);
        if (thread == nullptr) return 0;
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
    }
    if (windows != nullptr) *windows = run.windows;
    return run.used - idle.used;
}

class StackTest : public FileInfoTest {};

TEST_F(StackTest, TheDeepestPathsLeaveHalfOfAOneMegabyteStack)
{
    std::wstring program = Path(L"prog.exe");
    ASSERT_TRUE(CopyFileW((TestDirectory() + L"\\version_sample.dll").c_str(), program.c_str(), FALSE));
    std::wstring folder = MakeFolder(L"folder");
    MakeFile(L"folder\\one.txt");
    std::wstring url = L"file:///" + program;
    for (wchar_t &c : url) c = c == L'\\' ? L'/' : c;
    Settings = DefaultSettings;

    const struct {
        const char *name;
        std::function<void()> path;
    } paths[] = {
        {"hotkey, file address of a program", [&] { PressHotkey(L"list " + url); }},
        {"hotkey, directory with counts", [&] { PressHotkey(L"list " + folder); }},
        {"hotkey, program with a version", [&] { PressHotkey(L"list " + program); }},
        {"/F, file address of a program", [&] { tirvalo((L"/f:\"" + url + L"\"").c_str()); }},
        {"/F, directory with counts", [&] { tirvalo((L"/f:" + folder).c_str()); }},
        {"/F, 130 files", [&] {
             std::wstring many;
             for (int i = 0; i < 130; i++) many += L"/f:" + program + L" ";
             tirvalo(many.c_str());
         }},
    };
    size_t deepest = 0;
    for (const auto &p : paths) {
        int windows = 0;
        size_t used = Measure(p.path, &windows);
        printf("stack: %-36s %7zu bytes (%zu KiB)\n", p.name, used, used / 1024);
        EXPECT_GE(windows, 1) << p.name;
        EXPECT_LT(used, MostThePlugInMayUse) << p.name;
        if (used > deepest) deepest = used;
    }
    printf("stack: deepest %zu bytes (%zu KiB) of %zu KiB\n", deepest, deepest / 1024, HostStack / 1024);
}

TEST_F(StackTest, TheStandInShellHasAOneMegabyteStackAndRoomToSpare)
{
    std::wstring folder = MakeFolder(L"folder");
    std::wstring url = L"file:///" + TestDirectory() + L"/Tirvalo.dll";
    for (wchar_t &c : url) c = c == L'\\' ? L'/' : c;
    ShellRun run = RunQuietShell({L"--stack-use", L"--dump-windows", L"-c",
                                  L"keystroke 17 300 list " + url, L"-c",
                                  L"keystroke 17 300 list " + folder, L"-c", L"tirvalo /f:" + folder});
    EXPECT_EQ(0, run.status);
    EXPECT_NE(std::string::npos, run.out.find("TIRVALO.DLL \xE2\x80\x94 Tirvalo 1.4.0"));
    EXPECT_NE(std::string::npos, run.out.find("FOLDER \xE2\x80\x94 Tirvalo 1.4.0\r\nFull Name:", run.out.find("FOLDER \xE2\x80\x94") + 1));
    size_t used = 0, reserved = 0;
    ASSERT_EQ(2, sscanf(run.err.c_str(), "korrash: stack used %zu of %zu bytes", &used, &reserved)) << run.err;
    printf("stack: the stand-in shell used %zu bytes (%zu KiB) of its %zu KiB\n", used, used / 1024,
           reserved / 1024);
    EXPECT_EQ(HostStack, reserved);
    EXPECT_LT(used, MostThePlugInMayUse);
}

// A shell thread of less stack: at 256 KiB the texts go to the heap and the
// windows are those of 1 MiB; at 128 KiB the hotkey and /F beep, and the
// shell goes on.
TEST_F(StackTest, AThreadOfLessStackGetsTheSameWindowsOrNone)
{
    std::wstring file = MakeFile(L"a.txt", "x"), folder = MakeFolder(L"folder");
    MakeFile(L"folder\\one.txt");
    WIN32_FIND_DATAW entry;   // listed first, as by the windows: the access time stays
    FindClose(FindFirstFileW((folder + L"\\*").c_str(), &entry));
    std::vector<std::wstring> commands = {L"--dump-windows", L"-c", L"keystroke 17 300 list " + file, L"-c",
                                          L"tirvalo /f:" + folder, L"-c", L"echo next"};
    ShellRun usual = RunQuietShell(commands);
    commands.insert(commands.begin(), {L"--stack", L"262144"});
    ShellRun less = RunQuietShell(commands);
    commands[1] = L"131072";
    ShellRun least = RunQuietShell(commands);
    EXPECT_NE(std::string::npos, usual.out.find("Contains: 1 file, 0 subdirs\r\n")) << usual.out;
    EXPECT_EQ(usual.out, less.out);
    EXPECT_EQ("consumed\r\nnext\r\n", least.out);   // the hotkey taken, no window
}

}  // namespace
