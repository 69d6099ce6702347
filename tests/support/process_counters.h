// What this process holds, for the soak and the leak tests, the fault
// injection and the benchmark: open handles, GDI and USER objects, private
// bytes and busy heap blocks.
//
// Windows reports the first four (GetProcessHandleCount, GetGuiResources,
// GetProcessMemoryInfo).  Wine 8 answers 0 for the handle count, the GUI
// object counts and the private bytes, so where an answer is 0 they are
// counted another way: the process's handles from the system handle list,
// GDI objects from the GDI handle table that the platform maps into every
// process, USER objects as the windows of the process (the only USER
// objects the information window creates), and private bytes as the
// committed private pages of the address space.
#ifndef TIRVALO_TESTS_PROCESS_COUNTERS_H
#define TIRVALO_TESTS_PROCESS_COUNTERS_H

#include <string>

struct ProcessCounters {
    unsigned long handles = 0;
    unsigned long gdiObjects = 0;
    unsigned long userObjects = 0;
    unsigned long long privateBytes = 0;
};

ProcessCounters ReadProcessCounters();

// The GDI and USER objects alone (handles and private bytes stay 0): much
// cheaper, without the list of every handle of the system.
ProcessCounters ReadGuiCounters();

// "handles 41, GDI 37, USER 2, private bytes 6,164,480".
std::string Describe(const ProcessCounters &counters);

// What differs between two full readings ("handles 41 then 42, ..."), or
// empty; counts that could not be read (0 in before) are named too, since
// they would compare 0 with 0.  The private bytes may grow by
// platformGrowth: what the platform itself keeps of the same windows.
std::string Changes(const ProcessCounters &before, const ProcessCounters &after,
                    long long platformGrowth = 0);

// The busy blocks of every heap of the process, or -1 when they cannot be
// walked.  Allocates nothing.
long long BusyHeapBlocks();

// The handles the process has open, in fixed storage: a reading allocates
// nothing that outlives it, so that heap blocks counted after it are not
// its own.
enum { MAX_OPEN_HANDLES = 8192 };
struct OpenHandles {
    int count;
    unsigned long long values[MAX_OPEN_HANDLES];
};
void ReadOpenHandles(OpenHandles *handles);

// The handles of after that before does not hold, by kind and value
// ("Key 0x1a4, File 0x1b0"), or empty.
std::string NewHandles(const OpenHandles &before, const OpenHandles &after);

// What is held around a run: the handles, the GDI and USER objects and the
// busy heap blocks, in fixed storage too, so that the heap blocks counted
// are the run's alone.  withHandles false reads the heap blocks alone,
// which cost nothing, and keeps the rest as held: for chaining one run's
// reading after into the next run's before.  Leaked names what after holds
// more than before.
struct Held {
    OpenHandles handles;
    ProcessCounters gui;   // the GDI and USER objects
    long long heapBlocks;
};
void ReadHeld(Held *held, bool withHandles);
std::string Leaked(const Held &before, const Held &after);

#endif
