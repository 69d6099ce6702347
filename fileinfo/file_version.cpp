/*
** The file version of a program or library, from its fixed version
** information.  The version functions come from the system's own
** version.dll, loaded from System32 alone: a version.dll planted in the
** shell's folder, or anywhere else on its search path, is never loaded
** into the shell.  It is loaded for each reading and let go before
** the window opens, so nothing of it stays in the shell.
*/
#include <windows.h>

#include "dialog/info_record.h"
#include "fileinfo.h"
#include "name_scan.h"

typedef DWORD(WINAPI *VersionSizeCall)(const wchar_t *, DWORD *);
typedef BOOL(WINAPI *VersionInfoCall)(const wchar_t *, DWORD, DWORD, void *);
typedef BOOL(WINAPI *VersionQueryCall)(const void *, const wchar_t *, void **, UINT *);

/* A function of module by name, as the type it is called as. */
template <typename Call> static Call Function(HMODULE module, const char *name)
{
    /* Through a pointer of no particular type, as the platform means it. */
    return reinterpret_cast<Call>(reinterpret_cast<void (*)(void)>(GetProcAddress(module, name)));
}

/* The four numbers from the version block of path into record. */
static void ReadWith(HMODULE module, const wchar_t *path, FileInfoRecord *record)
{
    VersionSizeCall versionSize = Function<VersionSizeCall>(module, "GetFileVersionInfoSizeW");
    VersionInfoCall versionInfo = Function<VersionInfoCall>(module, "GetFileVersionInfoW");
    VersionQueryCall versionQuery = Function<VersionQueryCall>(module, "VerQueryValueW");
    DWORD ignored = 0, size;
    VS_FIXEDFILEINFO *fixed = 0;
    UINT length = 0;
    HANDLE heap;
    void *block;

    if (versionSize == 0 || versionInfo == 0 || versionQuery == 0) return;
    size = versionSize(path, &ignored);
    if (size == 0) return;
    /* The block is freed to the heap it came from, which must be one. */
    heap = GetProcessHeap();
    if (heap == 0) return;
    block = HeapAlloc(heap, 0, size);
    if (block == 0) return;
    if (versionInfo(path, 0, size, block) && versionQuery(block, L"\\", (void **)&fixed, &length) &&
        fixed != 0 && length >= sizeof *fixed) {
        record->versionMajor = HIWORD(fixed->dwFileVersionMS);
        record->versionMinor = LOWORD(fixed->dwFileVersionMS);
        record->versionBuild = HIWORD(fixed->dwFileVersionLS);
        record->versionRevision = LOWORD(fixed->dwFileVersionLS);
    }
    HeapFree(heap, 0, block);
}

void ReadFileVersion(const wchar_t *path, FileInfoRecord *record)
{
    wchar_t room[PATH_CAPACITY];
    HMODULE module = LoadLibraryExW(L"version.dll", 0, LOAD_LIBRARY_SEARCH_SYSTEM32);

    if (module == 0) return;
    ReadWith(module, FileSystemPath(path, room, PATH_CAPACITY), record);
    FreeLibrary(module);
}
