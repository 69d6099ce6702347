// The table of the plug-in's calls and their failures.  See fault_table.h.
#include "fault_table.h"

#include <aclapi.h>
#include <sddl.h>
#include <shlwapi.h>
#include <stdarg.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <type_traits>

#include "frame/host_api.h"
#include "tests/support/import_table.h"

const char StartUpOnly[] = "the C runtime's start-up and exit: never on a path";

FaultRun Run;

namespace {

enum { NO_TEXT = -1 };

const char Release[] = "releases what an earlier call gave; nothing to do when it fails";
const char NoFailure[] = "no failure result: it only reads a value";
const char Output[] = "the host's interface gives output no failure result";
const char Formatting[] = "formats into the caller's buffer; fails only for an output over 1024 units, "
                          "which no format of the plug-in makes";

/*
** One row a call: the DLL, the function, what a failure returns, the last
** error it leaves and the text it leaves undefined.  A call that cannot fail
** (KEEP, or KEEP_VARIADIC for one with a variable argument list) says why.
** A new call of the plug-in is one more line here.
*/
#define FAULT_CALLS(FAIL, KEEP, KEEP_VARIADIC)                                                     \
    FAIL("advapi32.dll", GetSecurityInfo, ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED, NO_TEXT)       \
    FAIL("advapi32.dll", ConvertSidToStringSidW, FALSE, ERROR_NOT_ENOUGH_MEMORY, NO_TEXT)          \
    FAIL("advapi32.dll", LookupAccountSidW, FALSE, ERROR_NONE_MAPPED, 2)                           \
    KEEP("advapi32.dll", RegCloseKey, Release)                                                     \
    FAIL("advapi32.dll", RegCreateKeyExW, ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED, NO_TEXT)       \
    FAIL("advapi32.dll", RegOpenKeyExW, ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED, NO_TEXT)         \
    FAIL("advapi32.dll", RegQueryValueExW, ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED, NO_TEXT)      \
    FAIL("advapi32.dll", RegSetValueExW, ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED, NO_TEXT)        \
    KEEP("kernel32.dll", CloseHandle, Release)                                                     \
    FAIL("kernel32.dll", CreateFileW, INVALID_HANDLE_VALUE, ERROR_SHARING_VIOLATION, NO_TEXT)      \
    FAIL("kernel32.dll", FileTimeToLocalFileTime, FALSE, ERROR_INVALID_PARAMETER, NO_TEXT)         \
    FAIL("kernel32.dll", FileTimeToSystemTime, FALSE, ERROR_INVALID_PARAMETER, NO_TEXT)            \
    KEEP("kernel32.dll", FindClose, Release)                                                       \
    FAIL("kernel32.dll", FindFirstFileExW, INVALID_HANDLE_VALUE, ERROR_ACCESS_DENIED, NO_TEXT)     \
    FAIL("kernel32.dll", FindFirstFileW, INVALID_HANDLE_VALUE, ERROR_ACCESS_DENIED, NO_TEXT)       \
    FAIL("kernel32.dll", FindNextFileW, FALSE, ERROR_NETNAME_DELETED, NO_TEXT)                     \
    FAIL("kernel32.dll", GetConsoleWindow, NULL, ERROR_INVALID_HANDLE, NO_TEXT)                    \
    KEEP("kernel32.dll", GetCurrentProcessId, NoFailure)                                           \
    KEEP("kernel32.dll", GetCurrentThreadId, NoFailure)                                            \
    KEEP("kernel32.dll", FreeLibrary, Release)                                                     \
    FAIL("kernel32.dll", GetDateFormatW, 0, ERROR_INSUFFICIENT_BUFFER, 4)                          \
    FAIL("kernel32.dll", GetFileAttributesExW, FALSE, ERROR_ACCESS_DENIED, NO_TEXT)                \
    FAIL("kernel32.dll", GetFileAttributesW, INVALID_FILE_ATTRIBUTES, ERROR_ACCESS_DENIED, NO_TEXT)\
    FAIL("kernel32.dll", GetFullPathNameW, 0, ERROR_FILENAME_EXCED_RANGE, 2)                       \
    KEEP("kernel32.dll", GetLastError, NoFailure)                                                  \
    FAIL("kernel32.dll", GetModuleHandleW, NULL, ERROR_MOD_NOT_FOUND, NO_TEXT)                     \
    FAIL("kernel32.dll", GetProcAddress, NULL, ERROR_PROC_NOT_FOUND, NO_TEXT)                      \
    FAIL("kernel32.dll", GetProcessHeap, NULL, ERROR_NOT_ENOUGH_MEMORY, NO_TEXT)                   \
    FAIL("kernel32.dll", GetStdHandle, INVALID_HANDLE_VALUE, ERROR_INVALID_HANDLE, NO_TEXT)        \
    FAIL("kernel32.dll", GetStringTypeW, FALSE, ERROR_INVALID_PARAMETER, NO_TEXT)                  \
    FAIL("kernel32.dll", GetTimeFormatW, 0, ERROR_INVALID_PARAMETER, 4)                            \
    FAIL("kernel32.dll", GetVolumeInformationW, FALSE, ERROR_NOT_READY, 6)                         \
    FAIL("kernel32.dll", GlobalAlloc, NULL, ERROR_NOT_ENOUGH_MEMORY, NO_TEXT)                      \
    KEEP("kernel32.dll", GlobalFree, Release)                                                      \
    FAIL("kernel32.dll", GlobalLock, NULL, ERROR_DISCARDED, NO_TEXT)                               \
    KEEP("kernel32.dll", GlobalUnlock, "no failure result: zero means the block is unlocked")      \
    FAIL("kernel32.dll", HeapAlloc, NULL, ERROR_NOT_ENOUGH_MEMORY, NO_TEXT)                        \
    KEEP("kernel32.dll", HeapFree, Release)                                                        \
    FAIL("kernel32.dll", LoadLibraryExW, NULL, ERROR_MOD_NOT_FOUND, NO_TEXT)                       \
    KEEP("kernel32.dll", LocalFree, Release)                                                       \
    FAIL("kernel32.dll", ProcessIdToSessionId, FALSE, ERROR_INVALID_PARAMETER, NO_TEXT)            \
    KEEP("kernel32.dll", Sleep, "no result")                                                       \
    FAIL("kernel32.dll", SystemTimeToTzSpecificLocalTime, FALSE, ERROR_INVALID_PARAMETER, NO_TEXT) \
    FAIL("kernel32.dll", VirtualQuery, 0, ERROR_INVALID_PARAMETER, NO_TEXT)                        \
    KEEP("kernel32.dll", DeleteCriticalSection, StartUpOnly)                                       \
    KEEP("kernel32.dll", EnterCriticalSection, StartUpOnly)                                        \
    KEEP("kernel32.dll", InitializeCriticalSection, StartUpOnly)                                   \
    KEEP("kernel32.dll", LeaveCriticalSection, StartUpOnly)                                        \
    KEEP("kernel32.dll", TlsGetValue, StartUpOnly)                                                 \
    KEEP("kernel32.dll", VirtualProtect, StartUpOnly)                                              \
    FAIL("shlwapi.dll", PathCreateFromUrlW, E_INVALIDARG, ERROR_INVALID_PARAMETER, 1)              \
    FAIL("user32.dll", AllowSetForegroundWindow, FALSE, ERROR_ACCESS_DENIED, NO_TEXT)              \
    FAIL("user32.dll", AttachThreadInput, FALSE, ERROR_INVALID_PARAMETER, NO_TEXT)                 \
    FAIL("user32.dll", BringWindowToTop, FALSE, ERROR_INVALID_WINDOW_HANDLE, NO_TEXT)              \
    KEEP("user32.dll", CallNextHookEx, "no failure result: it gives the next hook's")              \
    KEEP("user32.dll", CloseClipboard, Release)                                                    \
    FAIL("user32.dll", ClientToScreen, FALSE, ERROR_INVALID_WINDOW_HANDLE, NO_TEXT)                \
    FAIL("user32.dll", DialogBoxParamW, -1, ERROR_NOT_ENOUGH_MEMORY, NO_TEXT)                      \
    FAIL("user32.dll", EmptyClipboard, FALSE, ERROR_CLIPBOARD_NOT_OPEN, NO_TEXT)                   \
    FAIL("user32.dll", EndDialog, FALSE, ERROR_INVALID_WINDOW_HANDLE, NO_TEXT)                     \
    FAIL("user32.dll", GetAncestor, NULL, ERROR_INVALID_WINDOW_HANDLE, NO_TEXT)                    \
    FAIL("user32.dll", GetAsyncKeyState, 0, ERROR_ACCESS_DENIED, NO_TEXT)                          \
    FAIL("user32.dll", GetClientRect, FALSE, ERROR_INVALID_WINDOW_HANDLE, NO_TEXT)                 \
    FAIL("user32.dll", GetDlgItem, NULL, ERROR_CONTROL_ID_NOT_FOUND, NO_TEXT)                      \
    FAIL("user32.dll", GetForegroundWindow, NULL, ERROR_SUCCESS, NO_TEXT)                          \
    FAIL("user32.dll", GetMonitorInfoW, FALSE, ERROR_INVALID_MONITOR_HANDLE, NO_TEXT)              \
    KEEP("user32.dll", GetKeyState, NoFailure)                                                     \
    FAIL("user32.dll", GetProcessWindowStation, NULL, ERROR_ACCESS_DENIED, NO_TEXT)                \
    FAIL("user32.dll", GetUserObjectInformationW, FALSE, ERROR_ACCESS_DENIED, NO_TEXT)             \
    FAIL("user32.dll", GetWindowThreadProcessId, 0, ERROR_INVALID_WINDOW_HANDLE, NO_TEXT)          \
    FAIL("user32.dll", GetWindowRect, FALSE, ERROR_INVALID_WINDOW_HANDLE, NO_TEXT)                 \
    KEEP("user32.dll", IsRectEmpty, "no failure result: it only tests a rectangle")                \
    KEEP("user32.dll", IsIconic, "no failure result: zero means not minimised")                    \
    FAIL("user32.dll", IsWindow, FALSE, ERROR_INVALID_WINDOW_HANDLE, NO_TEXT)                      \
    KEEP("user32.dll", IsWindowVisible, "no failure result: zero means hidden")                    \
    KEEP("user32.dll", IsZoomed, "no failure result: zero means not maximised")                    \
    FAIL("user32.dll", MessageBoxW, 0, ERROR_NOT_ENOUGH_MEMORY, NO_TEXT)                           \
    KEEP("user32.dll", MonitorFromWindow, "no failure result: the primary monitor at least")         \
    FAIL("user32.dll", OpenClipboard, FALSE, ERROR_ACCESS_DENIED, NO_TEXT)                         \
    FAIL("user32.dll", SendMessageTimeoutW, 0, ERROR_TIMEOUT, NO_TEXT)                             \
    FAIL("user32.dll", SetClipboardData, NULL, ERROR_NOT_ENOUGH_MEMORY, NO_TEXT)                   \
    FAIL("user32.dll", SetForegroundWindow, FALSE, ERROR_ACCESS_DENIED, NO_TEXT)                   \
    FAIL("user32.dll", SetThreadDpiAwarenessContext, NULL, ERROR_INVALID_PARAMETER, NO_TEXT)       \
    FAIL("user32.dll", SetWindowPos, FALSE, ERROR_INVALID_WINDOW_HANDLE, NO_TEXT)                  \
    FAIL("user32.dll", SetWindowTextW, FALSE, ERROR_NOT_ENOUGH_MEMORY, NO_TEXT)                    \
    FAIL("user32.dll", SetWindowsHookExW, NULL, ERROR_NOT_ENOUGH_MEMORY, NO_TEXT)                  \
    KEEP("user32.dll", ShowWindow, "no failure result: it gives the earlier visibility")           \
    FAIL("user32.dll", SystemParametersInfoW, FALSE, ERROR_ACCESS_DENIED, NO_TEXT)                 \
    KEEP("user32.dll", UnhookWindowsHookEx, Release)                                               \
    KEEP_VARIADIC("user32.dll", wsprintfW, Formatting)                                             \
    FAIL("version.dll", GetFileVersionInfoSizeW, 0, ERROR_RESOURCE_TYPE_NOT_FOUND, NO_TEXT)        \
    FAIL("version.dll", GetFileVersionInfoW, FALSE, ERROR_SHARING_VIOLATION, NO_TEXT)              \
    FAIL("version.dll", VerQueryValueW, FALSE, ERROR_RESOURCE_TYPE_NOT_FOUND, NO_TEXT)             \
    FAIL("Korrash.dll", ExpandVariables, 1, ERROR_SUCCESS, NO_TEXT)                                \
    KEEP_VARIADIC("Korrash.dll", Printf, Output)                                                   \
    KEEP("Korrash.dll", QPuts, Output)                                                             \
    KEEP_VARIADIC("Korrash.dll", Qprintf, Output)                                                  \
    KEEP("Korrash.dll", honk, Output)                                                              \
    FAIL("Korrash.dll", QueryTrueName, 1, ERROR_SUCCESS, NO_TEXT)                                  \
    FAIL("Korrash.dll", QueryIsFile, 0, ERROR_SUCCESS, NO_TEXT)                                    \
    FAIL("Korrash.dll", QueryIsDirectory, 0, ERROR_SUCCESS, NO_TEXT)                               \
    FAIL("Korrash.dll", QueryIsFileOrDirectory, 0, ERROR_SUCCESS, NO_TEXT)

#define ROW_ID(dll, function, ...) ROW_##function,
enum Row { FAULT_CALLS(ROW_ID, ROW_ID, ROW_ID) ROWS };

// What each wrapper passes its calls on to.
void *PassTo[ROWS];

// The functions the plug-in takes by name (GetProcAddress) are failed as
// its imports are: a function of the table is handed back as its wrapper,
// which passes its calls on to the function the system gave.
FARPROC(WINAPI *SystemGetProcAddress)(HMODULE, const char *) = nullptr;
FARPROC WINAPI WrapperByName(HMODULE module, const char *name)
{
    FARPROC function = SystemGetProcAddress(module, name);
    int row = function != nullptr && !IS_INTRESOURCE(name) ? FaultRow(name) : -1;
    if (row < 0) return function;
    PassTo[row] = (void *)function;
    return (FARPROC)FaultCalls[row].wrapper;
}

// Numbers a call; true when it is the one to fail, after leaving its text
// undefined and setting the last error.
bool Intercept(int row, const uintptr_t *arguments)
{
    if (!Run.counting) return false;
    int number = ++Run.calls;
    if (number <= MAX_LOGGED_CALLS) Run.log[number - 1] = row;
    if (number != Run.failAt) return false;
    const FaultCall &call = FaultCalls[row];
    if (call.text >= 0 && arguments[call.text] != 0) lstrcpyW((wchar_t *)arguments[call.text], L"STALE");
    SetLastError(call.error);
    return true;
}

template <int R, typename F> struct Wrapper;
template <int R, typename Result, typename... Arguments> struct Wrapper<R, Result (*)(Arguments...)> {
    static Result Call(Arguments... arguments)
    {
        const uintptr_t words[sizeof...(Arguments) + 1] = {(uintptr_t)arguments..., 0};
        if (Intercept(R, words)) {
            if constexpr (!std::is_void<Result>::value) return (Result)FaultCalls[R].failure;
        }
        return ((Result(*)(Arguments...))PassTo[R])(arguments...);
    }
};

// The calls with a variable argument list, passed on through their
// fixed-list forms.
int Variadic_wsprintfW(wchar_t *out, const wchar_t *format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    Intercept(ROW_wsprintfW, nullptr);
    int length = wvsprintfW(out, format, arguments);
    va_end(arguments);
    return length;
}

// The host's: formatted here as the stand-in host formats, then written
// through the host's own function.
wchar_t HostText[65536];

int Variadic_Printf(const wchar_t *format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    Intercept(ROW_Printf, nullptr);
    _vsnwprintf(HostText, 65535, format, arguments);
    va_end(arguments);
    return ((int (*)(const wchar_t *, ...))PassTo[ROW_Printf])(L"%s", HostText);
}

int Variadic_Qprintf(void *handle, const wchar_t *format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    Intercept(ROW_Qprintf, nullptr);
    _vsnwprintf(HostText, 65535, format, arguments);
    va_end(arguments);
    return ((int (*)(void *, const wchar_t *, ...))PassTo[ROW_Qprintf])(handle, L"%s", HostText);
}

/* The slots rewritten, for putting them back. */
struct Rewritten {
    void **slot;
    void *old;
};
Rewritten Slots[ROWS];
int SlotCount = 0;

bool IsRuntimeDll(const char *dll)
{
    return lstrcmpiA(dll, "msvcrt.dll") == 0 || lstrcmpiA(dll, "ucrtbase.dll") == 0 ||
           _strnicmp(dll, "api-ms-win-", 11) == 0;
}

}  // namespace

#define ROW_FAILING(dll, function, value, error, text) \
    {dll, #function, (void *)&Wrapper<ROW_##function, decltype(&function)>::Call, (long long)(value), error, text, nullptr},
#define ROW_KEPT(dll, function, why) \
    {dll, #function, (void *)&Wrapper<ROW_##function, decltype(&function)>::Call, 0, 0, NO_TEXT, why},
#define ROW_KEPT_VARIADIC(dll, function, why) \
    {dll, #function, (void *)&Variadic_##function, 0, 0, NO_TEXT, why},

const FaultCall FaultCalls[] = {FAULT_CALLS(ROW_FAILING, ROW_KEPT, ROW_KEPT_VARIADIC)};
const int FaultCallCount = ROWS;

int FaultRow(const char *function)
{
    for (int row = 0; row < ROWS; row++) {
        if (lstrcmpA(FaultCalls[row].name, function) == 0) return row;
    }
    return -1;
}

std::string InstallFaultWrappers(HMODULE module)
{
    std::string missing;
    ForEachImport(module, [&missing](const char *dll, const char *function, void **slot) {
        int row = function != nullptr ? FaultRow(function) : -1;
        if (IsRuntimeDll(dll)) return true;
        if (row < 0 || lstrcmpiA(FaultCalls[row].dll, dll) != 0 || SlotCount >= ROWS) {
            missing += (missing.empty() ? "" : ", ") + std::string(dll) + "!";
            missing += function != nullptr ? function : "(by ordinal)";
            return true;
        }
        PassTo[row] = *slot;
        Slots[SlotCount++] = {slot, WriteImportSlot(slot, FaultCalls[row].wrapper)};
        return true;
    });
    SystemGetProcAddress = (FARPROC(WINAPI *)(HMODULE, const char *))PassTo[ROW_GetProcAddress];
    if (SystemGetProcAddress != nullptr) PassTo[ROW_GetProcAddress] = (void *)WrapperByName;
    return missing;
}

void RemoveFaultWrappers()
{
    while (SlotCount > 0) {
        SlotCount--;
        WriteImportSlot(Slots[SlotCount].slot, Slots[SlotCount].old);
    }
}

void PassCallsTo(const char *function, void *standIn)
{
    int row = FaultRow(function);
    if (row >= 0) PassTo[row] = standIn;
}
