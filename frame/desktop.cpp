/*
** Whether a window opened here can be seen.  See platform.h.
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
