// What this process holds.  See process_counters.h.
#include "process_counters.h"

#include <psapi.h>
#include <winternl.h>

#include <cstdio>
#include <vector>

namespace {

// The system handle list (information class 16), an entry for every handle
// of every process.
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

std::vector<BYTE> SystemHandles()
{
    std::vector<BYTE> buffer(1 << 20);
    for (;;) {
        ULONG needed = 0;
        NTSTATUS status = NtQuerySystemInformation((SYSTEM_INFORMATION_CLASS)16, buffer.data(),
                                                   (ULONG)buffer.size(), &needed);
        if (status == 0) return buffer;
        if (buffer.size() >= (64u << 20)) return {};
        buffer.resize(buffer.size() * 2);
    }
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

std::set<unsigned long long> OpenHandles()
{
    std::set<unsigned long long> handles;
    std::vector<BYTE> buffer = SystemHandles();
    if (buffer.empty()) return handles;
    const SystemHandleList *list = (const SystemHandleList *)buffer.data();
    for (ULONG i = 0; i < list->count; i++) {
        if (list->entries[i].processId == GetCurrentProcessId()) handles.insert(list->entries[i].handle);
    }
    return handles;
}

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

std::string HandleWatch::Leaked() const
{
    std::string leaked;
    for (unsigned long long handle : OpenHandles()) {
        if (before_.count(handle) != 0) continue;
        char value[32];
        snprintf(value, sizeof value, " 0x%llx", handle);
        leaked += (leaked.empty() ? "" : ", ") + HandleKind(handle) + value;
    }
    return leaked;
}

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
    if (!GetProcessHandleCount(self, &handles) || handles == 0) handles = (DWORD)OpenHandles().size();
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
