/*
** Counting platform calls through the import tables of every loaded
** module.  See counting.h.
*/
#include <windows.h>
#include <aclapi.h>
#include <psapi.h>
#include <stdlib.h>
#include <string.h>

#include "counting.h"
#include "tests/support/import_table.h"

namespace {

/* Calls from this program, from Korrash.dll, and from anywhere. */
long long Counts[3][COUNTED_FUNCTIONS];

/* The address ranges of this program and of Korrash.dll. */
const BYTE *RangeStart[2];
const BYTE *RangeEnd[2];

/*
** A platform function often passes a call on to another library's function
** of the same name (kernel32 to kernelbase), and may do so by a jump that
** keeps the first caller's return address.  So a call made while another
** call of the same group is under way is not counted again (the allocation
** functions are one group: malloc passes on to HeapAlloc), and a call made
** inside any counted call is nobody's own.
*/
int GroupDepth[COUNTED_FUNCTIONS];
int CountedDepth;

int GroupOf(int function)
{
    return function >= COUNT_HEAP_ALLOC ? COUNT_HEAP_ALLOC : function;
}

void Enter(int function, const void *caller)
{
    const BYTE *at = (const BYTE *)caller;
    if (GroupDepth[GroupOf(function)]++ == 0) {
        Counts[2][function]++;
        for (int i = 0; i < 2 && CountedDepth == 0; i++) {
            if (at >= RangeStart[i] && at < RangeEnd[i]) Counts[i][function]++;
        }
    }
    CountedDepth++;
}

void Leave(int function)
{
    GroupDepth[GroupOf(function)]--;
    CountedDepth--;
}

/* One wrapper for each import (Tag tells them apart): counts the call as
** function Id and passes it on to the real function. */
template <int Tag, int Id, typename F> struct Wrapper;
template <int Tag, int Id, typename R, typename... A> struct Wrapper<Tag, Id, R (*)(A...)> {
    static R (*original)(A...);
    static R Call(A... arguments)
    {
        Enter(Id, __builtin_return_address(0));
        R result = original(arguments...);
        Leave(Id);
        return result;
    }
};
template <int Tag, int Id, typename R, typename... A>
R (*Wrapper<Tag, Id, R (*)(A...)>::original)(A...) = nullptr;

/* The native calls, declared here with opaque arguments. */
typedef LONG (*NtCreateFileFunction)(void *, ULONG, void *, void *, void *, ULONG, ULONG, ULONG,
                                     ULONG, void *, ULONG);
typedef LONG (*NtOpenFileFunction)(void *, ULONG, void *, void *, ULONG, ULONG);
typedef LONG (*NtOpenKeyFunction)(void *, ULONG, void *);
typedef LONG (*NtOpenKeyExFunction)(void *, ULONG, void *, ULONG);
typedef LONG (*NtCreateKeyFunction)(void *, ULONG, void *, ULONG, void *, ULONG, ULONG *);
typedef void *(*RtlAllocateHeapFunction)(void *, ULONG, SIZE_T);
typedef void *(*RtlReAllocateHeapFunction)(void *, ULONG, void *, SIZE_T);
/* The C runtime's, without the attributes of their declarations. */
typedef void *(*MallocFunction)(size_t);
typedef void *(*CallocFunction)(size_t, size_t);
typedef void *(*ReallocFunction)(void *, size_t);

struct Import {
    int function;
    const char *dll;
    const char *name;
    void *wrapper;
    void **original;
};

#define IMPORT(id, type, dll, name) IMPORT_TAGGED(__COUNTER__, id, type, dll, name)
#define IMPORT_TAGGED(tag, id, type, dll, name)                                            \
    {                                                                                      \
        id, dll, #name, (void *)&Wrapper<tag, id, type>::Call,                            \
            (void **)&Wrapper<tag, id, type>::original                                     \
    }

/* A function that modules import from kernel32 or from kernelbase (and so
** on): one wrapper for each library. */
#define KERNEL_IMPORT(id, type, name) \
    IMPORT(id, type, "kernel32.dll", name), IMPORT(id, type, "kernelbase.dll", name)
#define REGISTRY_IMPORT(id, type, name) \
    IMPORT(id, type, "advapi32.dll", name), IMPORT(id, type, "kernelbase.dll", name)
#define RUNTIME_IMPORT(id, type, name) \
    IMPORT(id, type, "msvcrt.dll", name), IMPORT(id, type, "ucrtbase.dll", name)

const Import Imports[] = {
    KERNEL_IMPORT(COUNT_GET_FULL_PATH_NAME, decltype(&GetFullPathNameW), GetFullPathNameW),
    KERNEL_IMPORT(COUNT_GET_VOLUME_INFORMATION, decltype(&GetVolumeInformationW), GetVolumeInformationW),
    KERNEL_IMPORT(COUNT_FIND_FIRST_FILE, decltype(&FindFirstFileW), FindFirstFileW),
    KERNEL_IMPORT(COUNT_FIND_FIRST_FILE_EX, decltype(&FindFirstFileExW), FindFirstFileExW),
    KERNEL_IMPORT(COUNT_FIND_NEXT_FILE, decltype(&FindNextFileW), FindNextFileW),
    KERNEL_IMPORT(COUNT_GET_FILE_ATTRIBUTES, decltype(&GetFileAttributesW), GetFileAttributesW),
    KERNEL_IMPORT(COUNT_CREATE_FILE, decltype(&CreateFileW), CreateFileW),
    IMPORT(COUNT_NT_CREATE_FILE, NtCreateFileFunction, "ntdll.dll", NtCreateFile),
    IMPORT(COUNT_NT_OPEN_FILE, NtOpenFileFunction, "ntdll.dll", NtOpenFile),

    REGISTRY_IMPORT(COUNT_REG_OPEN_KEY, decltype(&RegOpenKeyExW), RegOpenKeyExW),
    REGISTRY_IMPORT(COUNT_REG_QUERY_VALUE, decltype(&RegQueryValueExW), RegQueryValueExW),
    IMPORT(COUNT_NT_OPEN_KEY, NtOpenKeyFunction, "ntdll.dll", NtOpenKey),
    IMPORT(COUNT_NT_OPEN_KEY_EX, NtOpenKeyExFunction, "ntdll.dll", NtOpenKeyEx),
    IMPORT(COUNT_NT_CREATE_KEY, NtCreateKeyFunction, "ntdll.dll", NtCreateKey),

    IMPORT(COUNT_GET_SECURITY_INFO, decltype(&GetSecurityInfo), "advapi32.dll", GetSecurityInfo),
    IMPORT(COUNT_LOOKUP_ACCOUNT_SID, decltype(&LookupAccountSidW), "advapi32.dll", LookupAccountSidW),
    IMPORT(COUNT_GET_FILE_VERSION_INFO_SIZE, decltype(&GetFileVersionInfoSizeW), "version.dll", GetFileVersionInfoSizeW),
    IMPORT(COUNT_GET_FILE_VERSION_INFO, decltype(&GetFileVersionInfoW), "version.dll", GetFileVersionInfoW),
    KERNEL_IMPORT(COUNT_GET_DATE_FORMAT, decltype(&GetDateFormatW), GetDateFormatW),
    KERNEL_IMPORT(COUNT_GET_TIME_FORMAT, decltype(&GetTimeFormatW), GetTimeFormatW),
    KERNEL_IMPORT(COUNT_GET_STRING_TYPE, decltype(&GetStringTypeW), GetStringTypeW),
    IMPORT(COUNT_GET_ASYNC_KEY_STATE, decltype(&GetAsyncKeyState), "user32.dll", GetAsyncKeyState),

    KERNEL_IMPORT(COUNT_HEAP_ALLOC, decltype(&HeapAlloc), HeapAlloc),
    KERNEL_IMPORT(COUNT_HEAP_REALLOC, decltype(&HeapReAlloc), HeapReAlloc),
    IMPORT(COUNT_RTL_ALLOCATE_HEAP, RtlAllocateHeapFunction, "ntdll.dll", RtlAllocateHeap),
    IMPORT(COUNT_RTL_REALLOCATE_HEAP, RtlReAllocateHeapFunction, "ntdll.dll", RtlReAllocateHeap),
    KERNEL_IMPORT(COUNT_LOCAL_ALLOC, decltype(&LocalAlloc), LocalAlloc),
    KERNEL_IMPORT(COUNT_GLOBAL_ALLOC, decltype(&GlobalAlloc), GlobalAlloc),
    RUNTIME_IMPORT(COUNT_MALLOC, MallocFunction, malloc),
    RUNTIME_IMPORT(COUNT_CALLOC, CallocFunction, calloc),
    RUNTIME_IMPORT(COUNT_REALLOC, ReallocFunction, realloc),
};

const char *const Names[COUNTED_FUNCTIONS] = {
    "GetFullPathNameW", "GetVolumeInformationW", "FindFirstFileW", "FindFirstFileExW", "FindNextFileW",
    "GetFileAttributesW", "CreateFileW", "NtCreateFile", "NtOpenFile",
    "RegOpenKeyExW", "RegQueryValueExW", "NtOpenKey", "NtOpenKeyEx", "NtCreateKey",
    "GetSecurityInfo", "LookupAccountSidW", "GetFileVersionInfoSizeW", "GetFileVersionInfoW",
    "GetDateFormatW", "GetTimeFormatW", "GetStringTypeW", "GetAsyncKeyState",
    "HeapAlloc", "HeapReAlloc", "RtlAllocateHeap", "RtlReAllocateHeap", "LocalAlloc",
    "GlobalAlloc", "malloc", "calloc", "realloc",
};

/* The slots rewritten, and what they held, for putting them back. */
enum { MAX_REWRITTEN = 4096, MAX_MODULES = 512 };
struct Rewritten {
    void **slot;
    void *old;
};
Rewritten RewrittenSlots[MAX_REWRITTEN];
int RewrittenCount = 0;

void NoteRange(int index, HMODULE module)
{
    MODULEINFO info = {};
    if (module != nullptr && GetModuleInformation(GetCurrentProcess(), module, &info, sizeof info)) {
        RangeStart[index] = (const BYTE *)info.lpBaseOfDll;
        RangeEnd[index] = RangeStart[index] + info.SizeOfImage;
    }
}

}  // namespace

HMODULE CountedModule = nullptr;

/* Functions taken by name (the version functions) are counted as imports
** are: a counted function is handed back as its wrapper. */
FARPROC(WINAPI *SystemGetProcAddress)(HMODULE, const char *) = nullptr;
FARPROC WINAPI CountingGetProcAddress(HMODULE module, const char *name)
{
    FARPROC function = SystemGetProcAddress(module, name);
    unsigned i;
    if (function == nullptr || IS_INTRESOURCE(name)) return function;
    for (i = 0; i < sizeof Imports / sizeof Imports[0]; i++) {
        if (*Imports[i].original == (void *)function && strcmp(Imports[i].name, name) == 0) {
            return (FARPROC)Imports[i].wrapper;
        }
    }
    return function;
}

const char *CountedName(int function)
{
    return function >= 0 && function < COUNTED_FUNCTIONS ? Names[function] : "?";
}

int StartCounting(void)
{
    static HMODULE modules[MAX_MODULES];
    DWORD bytes = 0;
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    int moduleCount, m;
    unsigned i;

    NoteRange(0, CountedModule != nullptr ? CountedModule : GetModuleHandleW(nullptr));
    NoteRange(1, GetModuleHandleW(L"Korrash.dll"));
    for (i = 0; i < sizeof Imports / sizeof Imports[0]; i++) {
        HMODULE library = GetModuleHandleA(Imports[i].dll);
        *Imports[i].original = library != nullptr ? (void *)GetProcAddress(library, Imports[i].name) : nullptr;
    }
    if (!EnumProcessModules(GetCurrentProcess(), modules, sizeof modules, &bytes)) return 0;
    moduleCount = (int)(bytes / sizeof modules[0]);
    if (moduleCount > MAX_MODULES) moduleCount = MAX_MODULES;

    SystemGetProcAddress = (FARPROC(WINAPI *)(HMODULE, const char *))(void *)GetProcAddress;
    for (m = 0; m < moduleCount; m++) {
        void **named;
        if (modules[m] == ntdll) continue;
        named = FindImportSlot(modules[m], "kernel32.dll", "GetProcAddress");
        if (named != nullptr && RewrittenCount < MAX_REWRITTEN) {
            RewrittenSlots[RewrittenCount].slot = named;
            RewrittenSlots[RewrittenCount].old = WriteImportSlot(named, (void *)CountingGetProcAddress);
            RewrittenCount++;
        }
        for (i = 0; i < sizeof Imports / sizeof Imports[0]; i++) {
            void **slot;
            if (*Imports[i].original == nullptr || RewrittenCount >= MAX_REWRITTEN) continue;
            slot = FindImportSlot(modules[m], Imports[i].dll, Imports[i].name);
            if (slot == nullptr) continue;
            RewrittenSlots[RewrittenCount].slot = slot;
            RewrittenSlots[RewrittenCount].old = WriteImportSlot(slot, Imports[i].wrapper);
            RewrittenCount++;
        }
    }
    ZeroMemory(Counts, sizeof Counts);
    ZeroMemory(GroupDepth, sizeof GroupDepth);
    CountedDepth = 0;
    return RewrittenCount;
}

void StopCounting(CallCounts *counts)
{
    if (counts != nullptr) {
        CopyMemory(counts->own, Counts[0], sizeof Counts[0]);
        CopyMemory(counts->host, Counts[1], sizeof Counts[1]);
        CopyMemory(counts->all, Counts[2], sizeof Counts[2]);
    }
    while (RewrittenCount > 0) {
        RewrittenCount--;
        WriteImportSlot(RewrittenSlots[RewrittenCount].slot, RewrittenSlots[RewrittenCount].old);
    }
}

long long Allocations(const long long *counts)
{
    return counts[COUNT_HEAP_ALLOC] + counts[COUNT_HEAP_REALLOC] + counts[COUNT_RTL_ALLOCATE_HEAP] +
           counts[COUNT_RTL_REALLOCATE_HEAP] + counts[COUNT_LOCAL_ALLOC] +
           counts[COUNT_GLOBAL_ALLOC] + counts[COUNT_MALLOC] + counts[COUNT_CALLOC] +
           counts[COUNT_REALLOC];
}

long long FilesOpened(const long long *counts)
{
    return counts[COUNT_NT_CREATE_FILE] + counts[COUNT_NT_OPEN_FILE];
}

long long KeysOpened(const long long *counts)
{
    return counts[COUNT_NT_OPEN_KEY] + counts[COUNT_NT_OPEN_KEY_EX] + counts[COUNT_NT_CREATE_KEY];
}
