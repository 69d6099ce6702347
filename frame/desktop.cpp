/*
** Whether a window opened here can be seen, whether another window
** answers, and the DPI awareness a window of the plug-in is made in.  See
** platform.h.
*/
#include "platform.h"

int CanShowWindows(void)
{
    HWINSTA station = GetProcessWindowStation();
    USEROBJECTFLAGS flags;
    DWORD needed = 0, session = 0;

    if (station != 0 &&
        GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof flags, &needed) &&
        (flags.dwFlags & WSF_VISIBLE) == 0) {
        return 0;
    }
    if (ProcessIdToSessionId(GetCurrentProcessId(), &session) && session == 0) return 0;
    return 1;
}

int WindowAnswers(HWND window)
{
    DWORD_PTR ignored = 0;
    if (window == 0) return 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, WINDOW_ANSWER_MS,
                               &ignored) != 0;
}

HWND AnsweringForegroundWindow(void)
{
    HWND foreground = GetForegroundWindow();
    return WindowAnswers(foreground) ? foreground : 0;
}

void EnterWindowDpi(WindowDpi *dpi)
{
    /* Taken by name: the call exists from Windows 10 version 1607 on. */
    HMODULE user32 = GetModuleHandleW(L"user32.dll");

    dpi->previous = 0;
    dpi->set = 0;
    if (user32 == 0) return;
    dpi->set = reinterpret_cast<DPI_AWARENESS_CONTEXT(WINAPI *)(DPI_AWARENESS_CONTEXT)>(
        reinterpret_cast<void (*)(void)>(GetProcAddress(user32, "SetThreadDpiAwarenessContext")));
    if (dpi->set == 0) return;
    /* Per-monitor v2 (Windows 10 version 1703 on) scales a dialog's font
    ** and layout, and again when it moves to a monitor of another DPI. */
    dpi->previous = dpi->set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    if (dpi->previous == 0) dpi->previous = dpi->set(DPI_AWARENESS_CONTEXT_SYSTEM_AWARE);
}

void LeaveWindowDpi(const WindowDpi *dpi)
{
    /* Once more when it fails, as every setting the plug-in puts back. */
    if (dpi->set == 0 || dpi->previous == 0) return;
    if (dpi->set(dpi->previous) == 0) dpi->set(dpi->previous);
}
