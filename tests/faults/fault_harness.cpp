// What the fault-injection runs stand on.  See fault_harness.h.
#include "fault_harness.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "fault_table.h"
#include "tests/support/plain_window.h"
#include "tests/support/temp_folder.h"

PluginEntries Plugin;
ShownWindow Shown;
int ShownCount = 0;

namespace {

HMODULE Module = nullptr;
const BYTE *ModuleStart = nullptr;
const BYTE *ModuleEnd = nullptr;
void *FaultCatcher = nullptr;
HANDLE Watchdog = nullptr;

// The run in progress, for the report of a fault; RunStart 0 between runs.
const char *RunPath = "";
int RunFailAt = 0;
const char *RunCall = "";
volatile ULONGLONG RunStart = 0;
const ULONGLONG HangMs = 20000;

// Writes what went wrong in which run to both streams and ends the process:
// a plug-in that faults cannot be run on.
void Report(const char *what, DWORD code, const void *at)
{
    char text[512];
    int length = snprintf(text, sizeof text,
                          "FAULT on path %s, call %d (%s failing): %s 0x%08lx at Tirvalo.dll+0x%llx\n",
                          RunPath, RunFailAt, RunCall, what, (unsigned long)code,
                          (unsigned long long)((const BYTE *)at - ModuleStart));
    DWORD written;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, (DWORD)length, &written, nullptr);
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), text, (DWORD)length, &written, nullptr);
    TerminateProcess(GetCurrentProcess(), 3);
}

bool IsFatal(DWORD code)
{
    switch (code) {
    case EXCEPTION_ACCESS_VIOLATION: case EXCEPTION_STACK_OVERFLOW: case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_INT_DIVIDE_BY_ZERO: case EXCEPTION_PRIV_INSTRUCTION: case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED: case 0xC0000374: /* heap corruption */
    case 0xC0000409: /* stack buffer overrun */
        return true;
    default:
        return false;
    }
}

// A fault in the plug-in's own code, at once (the platform may catch
// exceptions around a window procedure); any other fault nobody handles.
LONG CALLBACK CatchInPlugin(EXCEPTION_POINTERS *pointers)
{
    const EXCEPTION_RECORD *record = pointers->ExceptionRecord;
    const BYTE *at = (const BYTE *)record->ExceptionAddress;
    if (IsFatal(record->ExceptionCode) && at >= ModuleStart && at < ModuleEnd) {
        Report("exception", record->ExceptionCode, at);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

LONG WINAPI CatchUnhandled(EXCEPTION_POINTERS *pointers)
{
    Report("unhandled exception", pointers->ExceptionRecord->ExceptionCode,
           pointers->ExceptionRecord->ExceptionAddress);
    return EXCEPTION_EXECUTE_HANDLER;
}

// A run that does not end within HangMs is a hang.
DWORD WINAPI WatchForHangs(void *)
{
    for (;;) {
        Sleep(500);
        ULONGLONG start = RunStart;
        if (start != 0 && GetTickCount64() - start > HangMs) Report("hang", 0, ModuleStart);
    }
}

// ---------------------------------------------------------------- stand-ins
HWND OtherThreadWindow = nullptr;
HWND OwnThreadWindow = nullptr;
HWND PinnedForeground = nullptr;
HANDLE OtherThread = nullptr;
DWORD OtherThreadId = 0;
int Animation = 1;   // the minimize animation, on, as Windows sets it
DWORD FirstTimeout = 0;   // the foreground lock timeout before the runs
const DWORD RunsTimeout = 200000;   // Windows' own default; Wine's is 0, which a run sets

HWND Terminal = nullptr;           // a visible window of the other thread
HWND PseudoConsole = nullptr;      // hidden, empty, owned by Terminal
Surroundings Around = VISIBLE_DESKTOP;

HWND WINAPI StandInForegroundWindow() { return PinnedForeground; }
HWND WINAPI StandInConsoleWindow() { return Around == PSEUDO_CONSOLE ? PseudoConsole : nullptr; }
BOOL WINAPI StandInUserObjectInformation(HANDLE object, int index, void *data, DWORD size, DWORD *needed)
{
    BOOL read = GetUserObjectInformationW(object, index, data, size, needed);   // the platform's
    if (read && index == UOI_FLAGS && Around == NO_VISIBLE_DESKTOP) {
        ((USEROBJECTFLAGS *)data)->dwFlags &= ~WSF_VISIBLE;
    }
    return read;
}
SHORT WINAPI StandInAsyncKeyState(int) { return 0; }
BOOL WINAPI StandInParametersInfo(UINT action, UINT parameter, void *data, UINT flags)
{
    if (action == SPI_GETANIMATION) ((ANIMATIONINFO *)data)->iMinAnimate = Animation;
    if (action == SPI_SETANIMATION) Animation = ((ANIMATIONINFO *)data)->iMinAnimate;
    if (action == SPI_GETANIMATION || action == SPI_SETANIMATION) return TRUE;
    return SystemParametersInfoW(action, parameter, data, flags);   // this program's import: the platform's
}

HWND MakeWindow()
{
    return CreateWindowExW(0, L"STATIC", L"console stand-in", WS_POPUP, 0, 0, 40, 40, nullptr, nullptr,
                           nullptr, nullptr);
}

// Owns the foreground window of "another thread", and answers the messages
// sent to it (a message box disables its owner) until told to quit.
DWORD WINAPI OtherThreadMain(void *ready)
{
    MSG message;
    OtherThreadWindow = MakeWindow();
    Terminal = CreateWindowExW(0, L"STATIC", L"terminal", WS_POPUP | WS_VISIBLE, 100, 100, 400, 300,
                               nullptr, nullptr, nullptr, nullptr);
    PseudoConsole = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, Terminal, nullptr, nullptr,
                                    nullptr);
    SetEvent((HANDLE)ready);
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    DestroyWindow(PseudoConsole);
    DestroyWindow(Terminal);
    DestroyWindow(OtherThreadWindow);
    return 0;
}

// ---------------------------------------------------------------- windows
const UINT_PTR ReadTimer = 0x7D02;
HHOOK WindowHook = nullptr;
HWND LastRead = nullptr;
bool WaitForPaint = false;
bool CopyInWindows = false;

void SetCtrlState(BYTE state)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = state;
    SetKeyboardState(keys);
}

BOOL CALLBACK ReadControl(HWND control, LPARAM)
{
    if (Shown.controls < SHOWN_CONTROLS) {
        Shown.ids[Shown.controls] = GetDlgCtrlID(control);
        GetWindowTextW(control, Shown.texts[Shown.controls], SHOWN_UNITS);
        Shown.controls++;
    }
    return TRUE;
}

// Reads a window once its procedure has filled it (the first window of the
// run only) and asks it to close; asks again at every tick of a timer while
// it stays, as it does when ending it failed.
void ReadAndClose(HWND window)
{
    if (window != LastRead) {
        LastRead = window;
        if (ShownCount++ == 0) {
            GetWindowTextW(window, Shown.caption, SHOWN_UNITS);
            Shown.controls = 0;
            EnumChildWindows(window, ReadControl, 0);
            if (CopyInWindows) {
                SetCtrlState(0x80);
                PostMessageW(GetDlgItem(window, IDOK), WM_KEYDOWN, 'C', 1);
            }
        }
    }
    PostMessageW(window, WM_COMMAND, IDOK, 0);
}

void CALLBACK CloseAgain(HWND window, UINT, UINT_PTR, DWORD)
{
    ReadAndClose(window);
}

LRESULT CALLBACK WatchHook(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPRETSTRUCT *message = (const CWPRETSTRUCT *)lParam;
    wchar_t className[16];
    if (code == HC_ACTION && message->message == WM_INITDIALOG && !OpeningPlainWindows() &&
        GetClassNameW(message->hwnd, className, 16) > 0 && lstrcmpW(className, L"#32770") == 0) {
        if (!WaitForPaint) ReadAndClose(message->hwnd);
        SetTimer(message->hwnd, ReadTimer, 50, CloseAgain);
    }
    return CallNextHookEx(WindowHook, code, wParam, lParam);
}

// ---------------------------------------------------------------- settings
int NotedAnimation = 0;
DWORD NotedTimeout = 0;
DPI_AWARENESS_CONTEXT NotedDpi = nullptr;

DWORD ForegroundLockTimeout()
{
    DWORD timeout = 0xDEAD;
    SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &timeout, 0);
    return timeout;
}

}  // namespace

std::string LoadPlugin()
{
    Module = LoadLibraryW((TestDirectory() + L"\\Tirvalo.dll").c_str());
    if (Module == nullptr) return "cannot load Tirvalo.dll";
    auto *nt = (IMAGE_NT_HEADERS *)((BYTE *)Module + ((IMAGE_DOS_HEADER *)Module)->e_lfanew);
    ModuleStart = (const BYTE *)Module;
    ModuleEnd = ModuleStart + nt->OptionalHeader.SizeOfImage;
    Plugin.initialize = (int (*)(void))(void *)GetProcAddress(Module, "InitializePlugin");
    Plugin.tirvalo = (int (*)(const wchar_t *))(void *)GetProcAddress(Module, "tirvalo");
    Plugin.key = (int (*)(KeystrokeRecord *))(void *)GetProcAddress(Module, "key");
    Plugin.help = (int (*)(const wchar_t *))(void *)GetProcAddress(Module, "Help");
    if (!Plugin.initialize || !Plugin.tirvalo || !Plugin.key || !Plugin.help) return "entry points missing";
    std::string missing = InstallFaultWrappers(Module);
    if (!missing.empty()) return "imports without a row in the fault table: " + missing;
    FaultCatcher = AddVectoredExceptionHandler(1, CatchInPlugin);
    SetUnhandledExceptionFilter(CatchUnhandled);
    Watchdog = CreateThread(nullptr, 0, WatchForHangs, nullptr, 0, nullptr);
    return "";
}

HMODULE PluginModule()
{
    return Module;
}

void UnloadPlugin()
{
    RemoveFaultWrappers();
    if (FaultCatcher != nullptr) RemoveVectoredExceptionHandler(FaultCatcher);
    if (Watchdog != nullptr) TerminateThread(Watchdog, 0);
    if (Module != nullptr) FreeLibrary(Module);
    FaultCatcher = nullptr;
    Watchdog = nullptr;
    Module = nullptr;
}

void NoteRun(const char *path, int failAt, const char *call)
{
    RunPath = path;
    RunFailAt = failAt;
    RunCall = call;
    RunStart = failAt < 0 ? 0 : GetTickCount64();
}

void StartStandIns()
{
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    OtherThread = CreateThread(nullptr, 0, OtherThreadMain, ready, 0, &OtherThreadId);
    WaitForSingleObject(ready, 10000);
    CloseHandle(ready);
    OwnThreadWindow = MakeWindow();
    PinForeground(false);
    SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &FirstTimeout, 0);
    SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, (void *)(UINT_PTR)RunsTimeout, 0);
    PassCallsTo("GetForegroundWindow", (void *)StandInForegroundWindow);
    PassCallsTo("GetAsyncKeyState", (void *)StandInAsyncKeyState);
    PassCallsTo("SystemParametersInfoW", (void *)StandInParametersInfo);
    PassCallsTo("GetConsoleWindow", (void *)StandInConsoleWindow);
    PassCallsTo("GetUserObjectInformationW", (void *)StandInUserObjectInformation);
}

void StopStandIns()
{
    PostThreadMessageW(OtherThreadId, WM_QUIT, 0, 0);
    WaitForSingleObject(OtherThread, 10000);
    CloseHandle(OtherThread);
    DestroyWindow(OwnThreadWindow);
    SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, (void *)(UINT_PTR)FirstTimeout, 0);
}

void PinForeground(bool ownThread)
{
    PinnedForeground = ownThread ? OwnThreadWindow : OtherThreadWindow;
}

void SetSurroundings(Surroundings surroundings)
{
    Around = surroundings;
}

void WatchWindows()
{
    WindowHook = SetWindowsHookExW(WH_CALLWNDPROCRET, WatchHook, nullptr, GetCurrentThreadId());
}

void CopyInShownWindows(bool copy)
{
    CopyInWindows = copy;
}

void ReleaseCopyKeys()
{
    SetCtrlState(0);
}

void ForgetShownWindows(bool waitForPaint)
{
    ShownCount = 0;
    LastRead = nullptr;
    WaitForPaint = waitForPaint;
}

void NoteSystemSettings()
{
    NotedAnimation = Animation;
    NotedTimeout = ForegroundLockTimeout();
    NotedDpi = GetThreadDpiAwarenessContext();
}

std::string SettingsLeft()
{
    std::string left;
    if (Animation != NotedAnimation) left += "the minimize animation, ";
    if (ForegroundLockTimeout() != NotedTimeout) left += "the foreground lock timeout, ";
    // Detaching succeeds only when the input is attached.
    if (AttachThreadInput(OtherThreadId, GetCurrentThreadId(), FALSE)) left += "the input attached, ";
    if (!AreDpiAwarenessContextsEqual(GetThreadDpiAwarenessContext(), NotedDpi)) {
        left += "the thread's DPI awareness, ";
        SetThreadDpiAwarenessContext(NotedDpi);
    }
    Animation = NotedAnimation;
    SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, (void *)(UINT_PTR)NotedTimeout, 0);
    return left;
}
