/*
** The stack left to the calling thread.  See platform.h.
*/
#include "platform.h"

size_t StackRoom(void)
{
    MEMORY_BASIC_INFORMATION region = {};

    /* The stack is one reservation, from its allocation base up; this
    ** record lies in it, near the caller.  VirtualQuery exists on every
    ** Windows the plug-in loads on, where GetCurrentThreadStackLimits
    ** needs Windows 8. */
    if (VirtualQuery(&region, &region, sizeof region) == 0 || region.AllocationBase == 0) {
        return (size_t)-1;
    }
    return (size_t)((const char *)&region - (const char *)region.AllocationBase);
}
