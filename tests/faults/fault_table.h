// The calls Tirvalo.dll makes to the platform and to the host, and how each
// one fails.  Every slot of the DLL's own import table is pointed at a
// wrapper that numbers the call and passes it on; the call whose number is
// FaultRun.failAt fails instead, the way the platform (or the host's
// interface) documents: the failure result, a plausible last error, and a
// text it was to fill left holding "STALE" where the platform leaves an
// output undefined on failure.
#ifndef TIRVALO_TESTS_FAULT_TABLE_H
#define TIRVALO_TESTS_FAULT_TABLE_H

#include <windows.h>

#include <string>

struct FaultCall {
    const char *dll;
    const char *name;
    void *wrapper;
    long long failure;       // the result of a failed call
    DWORD error;             // the last error it leaves
    int text;                // argument (from 0) of a text it leaves undefined; -1: none
    const char *cannotFail;  // why the call is never failed; null for one that is
};

extern const FaultCall FaultCalls[];
extern const int FaultCallCount;

// A call only the C runtime's start-up and exit code makes, never a path.
extern const char StartUpOnly[];

enum { MAX_LOGGED_CALLS = 8192 };

// The run in progress.  While counting, every call through a wrapper gets
// the next number from 1 and its row in log; the call numbered failAt fails.
struct FaultRun {
    bool counting;
    int failAt;
    int calls;
    int log[MAX_LOGGED_CALLS];
};
extern FaultRun Run;

// Points every import slot of module at its wrapper.  Gives the imports
// that have no row ("kernel32.dll!Beep, ..."), empty when all have one;
// imports from the C runtime's own DLLs need none.
std::string InstallFaultWrappers(HMODULE module);

// Puts every slot back.
void RemoveFaultWrappers();

// Has the wrapper of function pass its calls on to stand-in rather than to
// the platform: an answer the runs keep fixed whatever other programs do.
void PassCallsTo(const char *function, void *standIn);

// The row of a function, or -1.
int FaultRow(const char *function);

#endif
