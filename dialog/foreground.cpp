/*
** Bringing a new window in front of the console.  The system refuses to let
** a thread take the foreground from another thread's window, unless their
** input is attached and the foreground lock timeout is zero; both are
** arranged for the moment of the switch and undone right after.  The
** minimize/restore animation is switched off meanwhile, so the window does
** not visibly zoom into place.
**
** Each system-wide setting is changed only when its value could be read
** first, so that it can be put back: a failed read never leaves a setting
** changed.  A setting, or the input, whose putting back fails is put back
** once more, so that a passing failure does not leave it changed.
**
** A thread whose input is attached to a hung thread's hangs with it: the
** foreground window is asked first, and the input is attached only when it
** answers in time.  No setting is announced to other windows: that, too,
** waits for each of them.  Without the attachment the window may open
** behind the foreground window, but it opens, and every setting is put
** back.
*/
#include <windows.h>

#include "frame/platform.h"
#include "info_dialog.h"

/* Writes a setting back; once more when that fails. */
static void PutBack(UINT action, UINT parameter, void *value, UINT flags)
{
    if (!SystemParametersInfoW(action, parameter, value, flags)) {
        SystemParametersInfoW(action, parameter, value, flags);
    }
}

/* Brings window to the top, shows it and makes it the foreground window. */
static void Raise(HWND window, int show)
{
    BringWindowToTop(window);
    ShowWindow(window, show);
    SetForegroundWindow(window);
}

int ForceForeground(HWND window)
{
    HWND foreground;
    DWORD foregroundThread, currentThread;
    ANIMATIONINFO savedAnimation, noAnimation;
    DWORD savedTimeout = 0;
    BOOL haveAnimation, haveTimeout;
    int show, answering;

    if (window == 0) return FOREGROUND_NO_WINDOW;
    foreground = GetForegroundWindow();
    foregroundThread = GetWindowThreadProcessId(foreground, 0);
    currentThread = GetCurrentThreadId();

    savedAnimation.cbSize = sizeof savedAnimation;
    savedAnimation.iMinAnimate = 0;
    haveAnimation = SystemParametersInfoW(SPI_GETANIMATION, sizeof savedAnimation,
                                          &savedAnimation, 0);
    if (haveAnimation) {
        noAnimation.cbSize = sizeof noAnimation;
        noAnimation.iMinAnimate = 0;
        SystemParametersInfoW(SPI_SETANIMATION, sizeof noAnimation, &noAnimation, 0);
    }
    haveTimeout = SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &savedTimeout, 0);

    show = IsZoomed(window) ? SW_SHOWMAXIMIZED : SW_RESTORE;
    if (foregroundThread == currentThread) {
        Raise(window, show);
    } else {
        answering = WindowAnswers(foreground);
        if (answering) AttachThreadInput(foregroundThread, currentThread, TRUE);
        /* No SPIF_SENDCHANGE: it would send every top-level window the news
        ** and wait for each, and one hung program would hang the shell.
        ** The value lasts only until it is put back below. */
        if (haveTimeout) SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, (PVOID)0, 0);
        AllowSetForegroundWindow(GetCurrentProcessId());
        Raise(window, show);
        if (haveTimeout) {
            PutBack(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, (PVOID)(UINT_PTR)savedTimeout, 0);
        }
        if (answering && !AttachThreadInput(foregroundThread, currentThread, FALSE)) {
            AttachThreadInput(foregroundThread, currentThread, FALSE);
        }
    }

    if (haveAnimation) PutBack(SPI_SETANIMATION, sizeof savedAnimation, &savedAnimation, 0);
    return 0;
}
