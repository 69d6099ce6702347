// Measuring how deep a thread's stack has been used: the part of the stack
// below the caller is filled with a pattern, and later the lowest place
// where the pattern was overwritten tells the deepest point reached since.
// Used by the stand-in shell's --stack-use switch and by the tests.
#ifndef KORRASH_STACK_PROBE_H
#define KORRASH_STACK_PROBE_H

#include <cstddef>

struct StackProbe {
    const unsigned char *top;      // the stack's highest address (its base)
    const unsigned char *floor;    // the lowest address filled
    size_t reserved;               // the stack's whole reservation, in bytes
};

// Fills the current thread's stack below the caller with the pattern, down
// to a margin above the end of its reservation, and says where.
StackProbe FillStack();

// Bytes of the stack used, from its top down to the deepest overwritten
// place, at most since FillStack.
size_t StackUsed(const StackProbe &probe);

#endif
