// What this process holds, for the soak and the leak tests: open handles,
// GDI and USER objects, and private bytes.
//
// Windows reports all four (GetProcessHandleCount, GetGuiResources,
// GetProcessMemoryInfo).  Wine 8 answers 0 for the handle count, the GUI
// object counts and the private bytes, so where an answer is 0 they are
// counted another way: the process's handles from the system handle list,
// GDI objects from the GDI handle table that the platform maps into every
// process, USER objects as the windows of the process (the only USER
// objects the information window creates), and private bytes as the
// committed private pages of the address space.
#ifndef TIRVALO_TESTS_PROCESS_COUNTERS_H
#define TIRVALO_TESTS_PROCESS_COUNTERS_H

#include <windows.h>

#include <set>
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

// The values of the handles the process has open.
std::set<unsigned long long> OpenHandles();

// The kind of object a handle stands for ("Key", "File", ...).
std::string HandleKind(unsigned long long handle);

// Notes the open handles when made; Leaked() names every handle opened
// since and still open ("Key 0x1a4, File 0x1b0"), or is empty.
class HandleWatch {
public:
    HandleWatch() : before_(OpenHandles()) {}
    std::string Leaked() const;

private:
    std::set<unsigned long long> before_;
};

#endif
