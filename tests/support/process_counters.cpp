// What this process holds.  See process_counters.h.
#include "process_counters.h"

#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// An entry of the system handle list.
struct SystemHandleEntry {
    ULONG processId;
    UCHAR objectType;
    UCHAR flags;
    USHORT handle;
    PVOID object;
    ACCESS_MASK access;
};
struct SystemHandleList {
    ULONG count;
    SystemHandleEntry entries[1];
};

// One entry of the GDI handle table: the platform's own layout.
struct GdiTableEntry {
    UINT64 kernelObject;
    USHORT processId;
    USHORT count;
    USHORT unique;
    UCHAR type;
    UCHAR flags;
    UINT64 userObject;
};
const int GdiTableEntries = 0x10000;
const size_t PebGdiTableOffset = 0xF8;   // x64 PEB: GdiSharedHandleTable

unsigned long CountGdiObjects()
{
    BYTE *peb = (BYTE *)NtCurrentTeb()->ProcessEnvironmentBlock;
    const GdiTableEntry *table = *(const GdiTableEntry *const *)(peb + PebGdiTableOffset);
    if (table == nullptr) return 0;
    // Wine maps a table of this process's objects alone; Windows one for
    // the session, told apart by process.
    USHORT self = (USHORT)GetCurrentProcessId();
    bool anyOwned = false;
    for (int i = 0; i < GdiTableEntries && !anyOwned; i++) {
        anyOwned = table[i].type != 0 && table[i].processId == self;
    }
    unsigned long count = 0;
    for (int i = 0; i < GdiTableEntries; i++) {
        if (table[i].type != 0 && (!anyOwned || table[i].processId == self)) count++;
    }
    return count;
}

BOOL CALLBACK CountChild(HWND, LPARAM count)
{
    ++*(unsigned long *)count;
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM count)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId()) return TRUE;
    ++*(unsigned long *)count;
    EnumChildWindows(window, CountChild, count);
    return TRUE;
}

unsigned long CountWindows()
{
    unsigned long count = 0;
    EnumWindows(CountTopLevel, (LPARAM)&count);
    // Message-only windows are not top-level windows of the desktop.
    for (HWND window = nullptr; (window = FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr));) {
        CountTopLevel(window, (LPARAM)&count);
    }
    return count;
}

unsigned long long CommittedPrivateBytes()
{
    unsigned long long total = 0;
    MEMORY_BASIC_INFORMATION region;
    const BYTE *address = nullptr;
    while (VirtualQuery(address, &region, sizeof region) == sizeof region) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
        const BYTE *next = (const BYTE *)region.BaseAddress + region.RegionSize;
        if (next <= address) break;
        address = next;
    }
    return total;
}

// Calls take with each handle this process has open, from the system
// handle list (information class 16): an entry for every handle of every
// process.
template <typename Take> void ForEachOpenHandle(Take take)
{
    std::vector<BYTE> buffer(1 << 20);
    for (;;) {
        ULONG needed = 0;
        NTSTATUS status = NtQuerySystemInformation((SYSTEM_INFORMATION_CLASS)16, buffer.data(),
                                                   (ULONG)buffer.size(), &needed);
        if (status == 0) break;
        if (buffer.size() >= (64u << 20)) return;
        buffer.resize(buffer.size() * 2);
    }
    const SystemHandleList *list = (const SystemHandleList *)buffer.data();
    for (ULONG i = 0; i < list->count; i++) {
        if (list->entries[i].processId == GetCurrentProcessId()) take(list->entries[i].handle);
    }
}

// The kind of object a handle stands for ("Key", "File", ...).
std::string HandleKind(unsigned long long handle)
{
    union {
        PUBLIC_OBJECT_TYPE_INFORMATION info;
        BYTE bytes[1024];
    } type;
    ULONG length = 0;
    if (NtQueryObject((HANDLE)handle, ObjectTypeInformation, &type, sizeof type, &length) != 0) {
        return "unknown";
    }
    const UNICODE_STRING &name = type.info.TypeName;
    return std::string(name.Buffer, name.Buffer + name.Length / sizeof(wchar_t));
}

std::string Grouped(unsigned long long value)
{
    std::string digits = std::to_string(value), result;
    for (size_t i = 0; i < digits.size(); i++) {
        if (i > 0 && (digits.size() - i) % 3 == 0) result += ',';
        result += digits[i];
    }
    return result;
}

}  // namespace

ProcessCounters ReadGuiCounters()
{
    // The first count of windows sets up the process's window system
    // (handles, GDI objects): counted once before, it is not counted as
    // held.
    static bool warmedUp = false;
    if (!warmedUp) {
        warmedUp = true;
        CountWindows();
    }
    ProcessCounters counters;
    HANDLE self = GetCurrentProcess();
    counters.gdiObjects = GetGuiResources(self, GR_GDIOBJECTS);
    if (counters.gdiObjects == 0) counters.gdiObjects = CountGdiObjects();
    counters.userObjects = GetGuiResources(self, GR_USEROBJECTS);
    if (counters.userObjects == 0) counters.userObjects = CountWindows();
    return counters;
}

ProcessCounters ReadProcessCounters()
{
    ProcessCounters counters = ReadGuiCounters();
    HANDLE self = GetCurrentProcess();
    DWORD handles = 0;
    if (!GetProcessHandleCount(self, &handles) || handles == 0) {
        ForEachOpenHandle([&handles](USHORT) { handles++; });
    }
    counters.handles = handles;
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(self, (PROCESS_MEMORY_COUNTERS *)&memory, sizeof memory)) {
        counters.privateBytes = memory.PrivateUsage;
    }
    if (counters.privateBytes == 0) counters.privateBytes = CommittedPrivateBytes();
    return counters;
}

std::string Describe(const ProcessCounters &counters)
{
    return "handles " + std::to_string(counters.handles) + ", GDI " +
           std::to_string(counters.gdiObjects) + ", USER " + std::to_string(counters.userObjects) +
           ", private bytes " + Grouped(counters.privateBytes);
}

std::string Changes(const ProcessCounters &before, const ProcessCounters &after, long long platformGrowth)
{
    if (before.handles == 0 || before.gdiObjects == 0 || before.privateBytes == 0) {
        return "not read: " + Describe(before);
    }
    std::string changes;
    auto compare = [&](const char *what, unsigned long long first, unsigned long long then) {
        if (first != then) changes += std::string(what) + " " + Grouped(first) + " then " + Grouped(then) + ", ";
    };
    compare("handles", before.handles, after.handles);
    compare("GDI", before.gdiObjects, after.gdiObjects);
    compare("USER", before.userObjects, after.userObjects);
    if (after.privateBytes < before.privateBytes ||
        (long long)(after.privateBytes - before.privateBytes) > std::max(platformGrowth, 0LL)) {
        compare("private bytes", before.privateBytes, after.privateBytes);
        if (platformGrowth > 0) changes += "the platform's own windows " + Grouped(platformGrowth) + " more, ";
    }
    return changes;
}

long long BusyHeapBlocks()
{
    HANDLE heaps[64];
    DWORD count = GetProcessHeaps(64, heaps);
    long long busy = 0;
    if (count == 0 || count > 64) return -1;
    for (DWORD h = 0; h < count; h++) {
        PROCESS_HEAP_ENTRY entry = {};
        if (!HeapLock(heaps[h])) return -1;
        while (HeapWalk(heaps[h], &entry)) busy += (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0;
        HeapUnlock(heaps[h]);
    }
    return busy;
}

void ReadOpenHandles(OpenHandles *handles)
{
    handles->count = 0;
    ForEachOpenHandle([handles](USHORT handle) {
        if (handles->count < MAX_OPEN_HANDLES) handles->values[handles->count++] = handle;
    });
}

std::string NewHandles(const OpenHandles &before, const OpenHandles &after)
{
    std::string added;
    for (int i = 0; i < after.count; i++) {
        const unsigned long long *end = before.values + before.count;
        if (std::find(before.values, end, after.values[i]) != end) continue;
        char value[32];
        snprintf(value, sizeof value, " 0x%llx", after.values[i]);
        added += (added.empty() ? "" : ", ") + HandleKind(after.values[i]) + value;
    }
    return added;
}

void ReadHeld(Held *held, bool withHandles)
{
    if (withHandles) {
        ReadOpenHandles(&held->handles);
        held->gui = ReadGuiCounters();
    }
    held->heapBlocks = BusyHeapBlocks();   // last: every reading's own blocks are freed by now
}

std::string Leaked(const Held &before, const Held &after)
{
    std::string leaked = NewHandles(before.handles, after.handles);
    auto more = [&leaked](long long first, long long then, const char *what) {
        if (then > first) leaked += (leaked.empty() ? "" : ", ") + std::to_string(then - first) + what;
    };
    more(before.heapBlocks, after.heapBlocks, " heap blocks");
    more(before.gui.gdiObjects, after.gui.gdiObjects, " GDI objects");
    more(before.gui.userObjects, after.gui.userObjects, " USER objects");
    return leaked;
}
