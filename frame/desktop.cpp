/*
** Whether a window opened here can be seen, and whether another window
** answers.  See platform.h.
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
