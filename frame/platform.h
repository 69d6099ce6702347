/*
** What the frame knows of the platform the plug-in runs on: the module it
** was loaded as, and whether a window opened here can be seen at all.
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

#endif /* TIRVALO_PLATFORM_H */
