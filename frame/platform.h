/*
** What the frame knows of the platform the plug-in runs on: the module it
** was loaded as, whether a window opened here can be seen at all, which
** window may own it, the DPI it is drawn in, and the stack left to the
** host's thread.
** Platform code only; the text-only routines never include it.
*/
#ifndef TIRVALO_PLATFORM_H
#define TIRVALO_PLATFORM_H

#include <windows.h>

/* The module's instance handle, kept from process attach; the window's
** template is loaded from it. */
extern HINSTANCE g_instance;

/*
** 1 when a window opened by this process can be seen by a user, else 0: a
** process on a window station without a visible desktop (a service, a
** scheduled task, a shell started by a remote-login server) or in session
** 0 gets a window nobody can see or close, and a modal one never returns.
** A question the system cannot answer counts as a visible desktop.
*/
int CanShowWindows(void);

/*
** 1 when window's thread answers a message within WINDOW_ANSWER_MS, else 0
** (a null window, or one whose thread hangs).  A thread that makes a hung
** window the owner of a modal window, or attaches its input to it, hangs
** with it: the shell asks first.
*/
int WindowAnswers(HWND window);

enum { WINDOW_ANSWER_MS = 200 };

/* The foreground window when it answers (WindowAnswers), else null: the
** owner of a window or message box opened in front of whatever the user
** works in. */
HWND AnsweringForegroundWindow(void);

/*
** A shell usually declares no DPI awareness, and the system then draws its
** windows at 96 DPI and stretches them, blurred, on a display of more.
** EnterWindowDpi switches the calling thread to per-monitor awareness (v2,
** or system awareness where the system refuses that) for as long as a
** window or message box of the plug-in exists, and notes in dpi what
** LeaveWindowDpi needs to put the thread's context back.  Where the system
** has no such call, or refuses both, nothing changes.
*/
struct WindowDpi {
    DPI_AWARENESS_CONTEXT(WINAPI *set)(DPI_AWARENESS_CONTEXT);   /* null: nothing to put back */
    DPI_AWARENESS_CONTEXT previous;
};
void EnterWindowDpi(WindowDpi *dpi);
void LeaveWindowDpi(const WindowDpi *dpi);

/*
** Bytes of the calling thread's stack below the caller, down to the end of
** its reservation; as much as anything needs when the system cannot tell,
** so that the plug-in then works as it always has.  The stack's reserve is
** the host's choice: a thread it makes for a command may have far less
** than the 1 MiB common for a main thread.
*/
size_t StackRoom(void);

#endif /* TIRVALO_PLATFORM_H */
