/*
** Counting platform calls while the benchmark runs: every loaded module's
** import of each function below is pointed at a wrapper that counts the
** call and passes it on.  A call is counted in "all" wherever it comes from
** (once, when one library passes it on to another's function of the same
** name), and also in "own" when this program made it (the plug-in's code and
** the floors) or in "host" when Korrash.dll (the stand-in host) made it.  The system-level entries
** (NtCreateFile, NtOpenKeyEx, RtlAllocateHeap, ...) count what the platform
** libraries do on our behalf: opening files and keys, allocating.
*/
#ifndef TIRVALO_BENCH_COUNTING_H
#define TIRVALO_BENCH_COUNTING_H

#include <windows.h>

enum CountedFunction {
    /* Files and volumes */
    COUNT_GET_FULL_PATH_NAME,
    COUNT_GET_VOLUME_INFORMATION,
    COUNT_FIND_FIRST_FILE,
    COUNT_FIND_FIRST_FILE_EX,
    COUNT_FIND_NEXT_FILE,
    COUNT_GET_FILE_ATTRIBUTES,
    COUNT_CREATE_FILE,
    COUNT_NT_CREATE_FILE,
    COUNT_NT_OPEN_FILE,
    /* Registry */
    COUNT_REG_OPEN_KEY,
    COUNT_REG_QUERY_VALUE,
    COUNT_NT_OPEN_KEY,
    COUNT_NT_OPEN_KEY_EX,
    COUNT_NT_CREATE_KEY,
    /* Owner, version, time, characters, keys */
    COUNT_GET_SECURITY_INFO,
    COUNT_LOOKUP_ACCOUNT_SID,
    COUNT_GET_FILE_VERSION_INFO_SIZE,
    COUNT_GET_FILE_VERSION_INFO,
    COUNT_GET_DATE_FORMAT,
    COUNT_GET_TIME_FORMAT,
    COUNT_GET_STRING_TYPE,
    COUNT_GET_ASYNC_KEY_STATE,
    /* Allocation */
    COUNT_HEAP_ALLOC,
    COUNT_HEAP_REALLOC,
    COUNT_RTL_ALLOCATE_HEAP,
    COUNT_RTL_REALLOCATE_HEAP,
    COUNT_LOCAL_ALLOC,
    COUNT_GLOBAL_ALLOC,
    COUNT_MALLOC,
    COUNT_CALLOC,
    COUNT_REALLOC,
    COUNTED_FUNCTIONS
};

struct CallCounts {
    long long own[COUNTED_FUNCTIONS];
    long long host[COUNTED_FUNCTIONS];
    long long all[COUNTED_FUNCTIONS];
};

/* The module whose calls count as "own": this program unless set. */
extern HMODULE CountedModule;

/* The name of a counted function. */
const char *CountedName(int function);

/* Installs the wrappers in every module loaded now and zeroes the counts:
** the number of import slots rewritten. */
int StartCounting(void);

/* Puts every rewritten slot back and copies the counts since
** StartCounting into counts. */
void StopCounting(CallCounts *counts);

/* Sums over the allocation functions, and over the opens of files and of
** registry keys at the system level. */
long long Allocations(const long long *counts);
long long FilesOpened(const long long *counts);
long long KeysOpened(const long long *counts);

#endif /* TIRVALO_BENCH_COUNTING_H */
