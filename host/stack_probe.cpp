// Measuring how deep a thread's stack has been used.  See stack_probe.h.
#include "stack_probe.h"

#include <windows.h>

namespace {

const unsigned char Pattern = 0xA5;
// Left alone at the end of the reservation: the guard pages, and room for
// the platform to raise the overflow exception.
const size_t FloorMargin = (size_t)64 * 1024;
// Left alone below the caller: the filling routine's own frame.
const size_t CallerMargin = 4096;

}  // namespace

// Not inlined: its frame must lie below the caller's, like the frames it
// fills for.  The pages are written from the top down, so that each one is
// committed in turn as the stack grows on its own.
__attribute__((noinline)) StackProbe FillStack()
{
    volatile unsigned char here = 0;
    MEMORY_BASIC_INFORMATION region;
    StackProbe probe;

    // The committed part of the stack runs from below here up to its top.
    VirtualQuery((const void *)&here, &region, sizeof region);
    probe.top = (const unsigned char *)region.BaseAddress + region.RegionSize;
    probe.floor = (const unsigned char *)region.AllocationBase + FloorMargin;
    probe.reserved = (size_t)(probe.top - (const unsigned char *)region.AllocationBase);
    for (volatile unsigned char *p = (volatile unsigned char *)&here - CallerMargin;
         p >= probe.floor; p--) {
        *p = Pattern;
    }
    return probe;
}

size_t StackUsed(const StackProbe &probe)
{
    const unsigned char *p = probe.floor;
    while (p < probe.top && *p == Pattern) p++;
    return (size_t)(probe.top - p);
}
