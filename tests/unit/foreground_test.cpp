// ForceForeground around the information window: the minimize/restore
// animation and the foreground lock timeout are the same after the window
// as before, whichever thread owned the foreground window, a setting that
// cannot be read is never changed, and no change is announced to every
// window (which would wait for each of them).  To see the calls, and to make a
// read fail, this program's own import of SystemParametersInfoW is pointed
// at a recorder.  It passes the foreground lock timeout on to the system;
// the animation setting it keeps itself, because Wine keeps none (its read
// always gives 0 and its write is dropped).
#include <windows.h>

#include <functional>
#include <thread>
#include <tuple>
#include <vector>

#include "dialog/info_dialog.h"
#include "tests/support/fileinfo_fixture.h"
#include "tests/support/locked_file.h"
#include "host/window_dump.h"

namespace {

typedef BOOL(WINAPI *SpiFunction)(UINT, UINT, PVOID, UINT);
SpiFunction RealSpi = nullptr;
typedef std::vector<std::tuple<UINT, UINT_PTR, UINT>> SettingsWritten;
SettingsWritten Calls;   // each setting written: its value and the flags
bool FailReads = false;
int Animation = 0;

bool FailPutBack[2];   // the first write of the saved timeout, of the saved animation

BOOL WINAPI RecordingSpi(UINT action, UINT param, PVOID data, UINT flags)
{
    bool read = action == SPI_GETANIMATION || action == SPI_GETFOREGROUNDLOCKTIMEOUT;
    if (read && FailReads) return FALSE;
    bool putBack = (action == SPI_SETANIMATION && ((ANIMATIONINFO *)data)->iMinAnimate == 1) ||
                   (action == SPI_SETFOREGROUNDLOCKTIMEOUT && (UINT_PTR)data == 54321);
    if (putBack && FailPutBack[action == SPI_SETANIMATION]) {
        FailPutBack[action == SPI_SETANIMATION] = false;
        return FALSE;
    }
    if (action == SPI_GETANIMATION) ((ANIMATIONINFO *)data)->iMinAnimate = Animation;
    if (action == SPI_SETANIMATION) Animation = ((ANIMATIONINFO *)data)->iMinAnimate;
    if (action == SPI_SETANIMATION) Calls.push_back({action, (UINT_PTR)Animation, flags});
    if (action == SPI_SETFOREGROUNDLOCKTIMEOUT) Calls.push_back({action, (UINT_PTR)data, flags});
    if (action == SPI_GETANIMATION || action == SPI_SETANIMATION) return TRUE;
    return RealSpi(action, param, data, flags);
}

DWORD Timeout()
{
    DWORD timeout = 0xDEAD;
    RealSpi(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &timeout, 0);
    return timeout;
}

void SetTimeout(DWORD timeout)
{
    RealSpi(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, (PVOID)(UINT_PTR)timeout, 0);
}

// A visible window of the calling thread, made the foreground window.
HWND ForegroundWindowHere()
{
    HWND window = CreateWindowExW(0, L"STATIC", L"foreground", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                  nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(window);
    return window;
}

class ForegroundTest : public FileInfoTest {
protected:
    void SetUp() override
    {
        FileInfoTest::SetUp();
        RealSpi = (SpiFunction)ReplaceImport("user32.dll", "SystemParametersInfoW",
                                             (void *)RecordingSpi);
        ASSERT_NE(nullptr, RealSpi);
        savedTimeout_ = Timeout();
        SetTimeout(54321);   // values no step would set by itself
        Animation = 1;
        Calls.clear();
        FailReads = false;
        FailPutBack[0] = FailPutBack[1] = false;
    }
    void TearDown() override
    {
        SetTimeout(savedTimeout_);
        ReplaceImport("user32.dll", "SystemParametersInfoW", (void *)RealSpi);
        FileInfoTest::TearDown();
    }

    // Shows an empty information window, closes it, and checks that both
    // settings are as they were.
    void ShowAndCheck()
    {
        WindowWatch watch;
        FileInfoRecord record = {};
        DialogBoxParamW(g_instance, MAKEINTRESOURCEW(IDD_FILE_INFO), nullptr,
                        InfoDialogProc, (LPARAM)&record);
        EXPECT_EQ(1u, watch.Windows().size());
        EXPECT_EQ(1, Animation);
        EXPECT_EQ(54321u, Timeout());
    }

    DWORD savedTimeout_ = 0;
};

TEST_F(ForegroundTest, SameThreadSwitchesOnlyTheAnimationOffAndBack)
{
    HWND own = ForegroundWindowHere();
    ASSERT_EQ(GetCurrentThreadId(), GetWindowThreadProcessId(GetForegroundWindow(), nullptr));
    ShowAndCheck();
    DestroyWindow(own);
    const SettingsWritten expected = {{SPI_SETANIMATION, 0, 0}, {SPI_SETANIMATION, 1, 0}};
    EXPECT_EQ(expected, Calls);
}

// Runs body while a window of another thread is the foreground window.
void WithAnotherThreadInFront(const std::function<void(DWORD)> &body)
{
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DWORD otherThread = 0;
    std::thread other([&] {
        HWND window = ForegroundWindowHere();
        otherThread = GetCurrentThreadId();
        SetEvent(ready);
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
        DestroyWindow(window);
    });
    WaitForSingleObject(ready, 5000);
    EXPECT_EQ(otherThread, GetWindowThreadProcessId(GetForegroundWindow(), nullptr));
    body(otherThread);
    PostThreadMessageW(otherThread, WM_QUIT, 0, 0);
    other.join();
    CloseHandle(ready);
}

// The settings written while another thread's window is in front, none
// of them announced (flags 0).
const SettingsWritten OtherThreadInFrontCalls = {
    {SPI_SETANIMATION, 0, 0}, {SPI_SETFOREGROUNDLOCKTIMEOUT, 0, 0},
    {SPI_SETFOREGROUNDLOCKTIMEOUT, 54321, 0}, {SPI_SETANIMATION, 1, 0}};

TEST_F(ForegroundTest, AnotherThreadsForegroundWindowZeroesTheTimeoutMeanwhile)
{
    WithAnotherThreadInFront([&](DWORD) { ShowAndCheck(); });
    EXPECT_EQ(OtherThreadInFrontCalls, Calls);
}

typedef BOOL(WINAPI *AttachFunction)(DWORD, DWORD, BOOL);
AttachFunction RealAttach = nullptr;
int Attaches = 0, Detaches = 0;

// Counts the attaching and detaching, and fails the first detaching.
BOOL WINAPI FailingFirstDetach(DWORD from, DWORD to, BOOL attach)
{
    if (attach) Attaches++;
    if (!attach && ++Detaches == 1) return FALSE;
    return RealAttach(from, to, attach);
}

TEST_F(ForegroundTest, WhatFailsToBePutBackIsPutBackOnceMore)
{
    FailPutBack[0] = FailPutBack[1] = true;
    RealAttach = (AttachFunction)ReplaceImport("user32.dll", "AttachThreadInput", (void *)FailingFirstDetach);
    ASSERT_NE(nullptr, RealAttach);
    WithAnotherThreadInFront([&](DWORD otherThread) {
        ShowAndCheck();
        EXPECT_EQ(2, Detaches);
        // Detaching fails when the input is not attached.
        EXPECT_FALSE(RealAttach(otherThread, GetCurrentThreadId(), FALSE));
    });
    ReplaceImport("user32.dll", "AttachThreadInput", (void *)RealAttach);
    EXPECT_FALSE(FailPutBack[0] || FailPutBack[1]);   // both failed once
}

// A foreground window of another program that no longer answers: the input
// is not attached to it, or this thread would hang with it; the window
// still opens and both settings are put back.
TEST_F(ForegroundTest, AForegroundWindowThatDoesNotAnswerIsNotAttachedTo)
{
    LockedFile hung(L"--hung-window");
    ASSERT_TRUE(hung.Locked());
    DWORD owner = 0;
    GetWindowThreadProcessId(GetForegroundWindow(), &owner);
    ASSERT_NE(GetCurrentProcessId(), owner);
    Attaches = Detaches = 0;
    RealAttach = (AttachFunction)ReplaceImport("user32.dll", "AttachThreadInput", (void *)FailingFirstDetach);
    ASSERT_NE(nullptr, RealAttach);
    ShowAndCheck();
    ReplaceImport("user32.dll", "AttachThreadInput", (void *)RealAttach);
    EXPECT_EQ(0, Attaches + Detaches);
    EXPECT_EQ(OtherThreadInFrontCalls, Calls);
}

TEST_F(ForegroundTest, SettingsThatCannotBeReadAreNeverChanged)
{
    FailReads = true;
    HWND own = ForegroundWindowHere();
    ShowAndCheck();          // same thread
    DestroyWindow(own);
    ShowAndCheck();          // no foreground window of this thread
    EXPECT_TRUE(Calls.empty());
    EXPECT_EQ(-1, ForceForeground(nullptr));
}

}  // namespace
