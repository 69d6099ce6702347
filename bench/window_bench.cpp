/*
** Section 4: gathering the facts of one information window.  ShowFileInfo
** runs up to the window, with the window replaced by a stub that returns at
** once, for a plain file, a program with a version resource and a
** directory; its floor makes the same platform calls directly, the host's
** included (full path, file tests, the description file).  The calls of
** both are counted, which also shows that the floor makes the same ones.
** Last, the whole of ShowFileInfo with the real window, closed as soon as
** it has been painted.
*/
#include <windows.h>
#include <aclapi.h>
#include <stdio.h>

#include "bench.h"
#include "counting.h"
#include "report.h"
#include "dialog/resource_ids.h"
#include "fileinfo/fileinfo.h"
#include "frame/platform.h"
#include "frame/plugin.h"
#include "host/window_dump.h"
#include "settings/settings.h"
#include "tests/support/import_table.h"

namespace {

enum { TARGETS = 3, NAME_CAPACITY = 300, UNITS = 32768, VALUE_UNITS = 4096 };

struct Target {
    const char *what;
    wchar_t path[NAME_CAPACITY];
};

INT_PTR WINAPI ClosedAtOnce(HINSTANCE, LPCWSTR, HWND, DLGPROC, LPARAM) { return IDOK; }

void ShowBody(void *context, long long count)
{
    Target *target = (Target *)context;
    long long i;
    for (i = 0; i < count; i++) Sink += ShowFileInfo(target->path);
}

/* The default value of root\path into value (VALUE_UNITS units): 1 when a
** text was read that is not empty. */
int ReadDefault(HKEY root, const wchar_t *path, wchar_t *value)
{
    HKEY key;
    DWORD bytes = VALUE_UNITS * sizeof(wchar_t);
    LONG status;

    value[0] = 0;
    if (RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
    status = RegQueryValueExW(key, nullptr, nullptr, nullptr, (BYTE *)value, &bytes);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) value[0] = 0;
    return value[0] != 0;
}

/*
** The floor of one window: the platform calls that ShowFileInfo and the
** host make for it, in the same order, with none of the work between them,
** in steps that can also be timed one by one.  It assumes what the
** benchmark's targets are: on an NTFS volume, without a file-type class of
** the user's own.
*/
struct Floor {
    const wchar_t *name;
    wchar_t full[UNITS];
    wchar_t root[4];
    wchar_t descriptionFile[UNITS];
    wchar_t contentsPattern[UNITS];
    WIN32_FIND_DATAW entry;
    const wchar_t *extension;           /* in full; null when there is none */
    wchar_t className[VALUE_UNITS];
    wchar_t keyPath[VALUE_UNITS];
    wchar_t value[VALUE_UNITS];
    wchar_t text[1024];
};

typedef void (*FloorStep)(Floor *floor);

/* The full name (the host's), without a trailing backslash, and the texts
** the later steps build from it. */
void FullNameStep(Floor *floor)
{
    int length, i, slash = 0;
    GetFullPathNameW(floor->name, UNITS, floor->full, nullptr);
    length = lstrlenW(floor->full);
    if (length > 0 && floor->full[length - 1] == L'\\') floor->full[--length] = 0;
    lstrcpynW(floor->root, floor->full, 4);
    floor->extension = nullptr;
    for (i = 0; i < length; i++) {
        if (floor->full[i] == L'\\') {
            floor->extension = nullptr;
            slash = i;
        }
        if (floor->full[i] == L'.') floor->extension = floor->full + i;
    }
    lstrcpynW(floor->descriptionFile, floor->full, slash + 1);
    lstrcatW(floor->descriptionFile, L"\\descript.ion");
    lstrcpyW(floor->contentsPattern, floor->full);
    lstrcatW(floor->contentsPattern, L"\\*");
}

void VolumeStep(Floor *floor)
{
    wchar_t label[1024], fileSystem[1024];
    GetVolumeInformationW(floor->root, label, 1024, nullptr, nullptr, nullptr, fileSystem, 1024);
}

void EntryStep(Floor *floor)
{
    WIN32_FILE_ATTRIBUTE_DATA now;
    FindClose(FindFirstFileW(floor->full, &floor->entry));
    Sink += GetFileAttributesExW(floor->full, GetFileExInfoStandard, &now);
}

/* The host tests the name and reads the directory's description file. */
void DescriptionStep(Floor *floor)
{
    HANDLE file;
    GetFileAttributesW(floor->full);
    file = CreateFileW(floor->descriptionFile, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

void ContentsStep(Floor *floor)
{
    WIN32_FIND_DATAW item;
    HANDLE search;
    if (!(floor->entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return;
    search = FindFirstFileExW(floor->contentsPattern, FindExInfoBasic, &item, FindExSearchNameMatch, nullptr,
                              FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) return;
    while (FindNextFileW(search, &item)) {}
    FindClose(search);
}

/* One timestamp by the rules of its date, in the user's formats. */
void LocalTime(const FILETIME &time, wchar_t *text)
{
    SYSTEMTIME utc, local;
    FileTimeToSystemTime(&time, &utc);
    SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &local, nullptr, text, 1024);
    GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &local, nullptr, text, 1024);
}

void TimesStep(Floor *floor)
{
    LocalTime(floor->entry.ftCreationTime, floor->text);
    LocalTime(floor->entry.ftLastWriteTime, floor->text);
    LocalTime(floor->entry.ftLastAccessTime, floor->text);
}

void OwnerStep(Floor *floor)
{
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    wchar_t account[1024], domain[1024];
    DWORD accountSize = 1024, domainSize = 1024;
    SID_NAME_USE use;
    HANDLE file = CreateFileW(floor->full, READ_CONTROL, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_NO_RECALL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    if (GetSecurityInfo(file, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr,
                        nullptr, &descriptor) == ERROR_SUCCESS) {
        LookupAccountSidW(nullptr, owner, account, &accountSize, domain, &domainSize, &use);
        LocalFree(descriptor);
    }
    CloseHandle(file);
}

/* The host's directory test, then the class of the extension, its name and
** its open command. */
void FileTypeStep(Floor *floor)
{
    if (GetFileAttributesW(floor->full) & FILE_ATTRIBUTE_DIRECTORY) return;
    if (floor->extension == nullptr) return;
    lstrcpyW(floor->keyPath, L"Software\\Classes\\");
    lstrcatW(floor->keyPath, floor->extension);
    if (!ReadDefault(HKEY_CURRENT_USER, floor->keyPath, floor->className) &&
        !ReadDefault(HKEY_CLASSES_ROOT, floor->extension, floor->className)) {
        return;
    }
    lstrcpyW(floor->keyPath, L"Software\\Classes\\");
    lstrcatW(floor->keyPath, floor->className);
    if (!ReadDefault(HKEY_CURRENT_USER, floor->keyPath, floor->value)) {
        ReadDefault(HKEY_LOCAL_MACHINE, floor->keyPath, floor->value);
    }
    lstrcatW(floor->keyPath, L"\\shell\\open\\command");
    if (!ReadDefault(HKEY_CURRENT_USER, floor->keyPath, floor->value)) {
        ReadDefault(HKEY_LOCAL_MACHINE, floor->keyPath, floor->value);
    }
}

/* The version of a program or library, after the host's file test; the
** questions whether a window can be seen here, and the stack left; the
** thread's DPI awareness switched around the window's life, and the
** console window that owns the window and the window it goes over. */
void VersionStep(Floor *floor)
{
    DWORD ignored = 0, size, session = 0;
    USEROBJECTFLAGS flags;
    void *block;
    if (floor->extension != nullptr &&
        (lstrcmpiW(floor->extension, L".exe") == 0 || lstrcmpiW(floor->extension, L".dll") == 0) &&
        GetFileAttributesW(floor->full) != INVALID_FILE_ATTRIBUTES) {
        HMODULE version = LoadLibraryExW(L"version.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        auto versionSize = (decltype(&GetFileVersionInfoSizeW))(void *)GetProcAddress(version, "GetFileVersionInfoSizeW");
        auto versionInfo = (decltype(&GetFileVersionInfoW))(void *)GetProcAddress(version, "GetFileVersionInfoW");
        auto versionQuery = (decltype(&VerQueryValueW))(void *)GetProcAddress(version, "VerQueryValueW");
        size = versionSize(floor->full, &ignored);
        block = size != 0 ? HeapAlloc(GetProcessHeap(), 0, size) : nullptr;
        if (block != nullptr) {
            VS_FIXEDFILEINFO *fixed = nullptr;
            UINT length = 0;
            if (versionInfo(floor->full, 0, size, block)) {
                versionQuery(block, L"\\", (void **)&fixed, &length);
            }
            HeapFree(GetProcessHeap(), 0, block);
        }
        FreeLibrary(version);
    }
    Sink += GetUserObjectInformationW(GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof flags, &ignored);
    Sink += ProcessIdToSessionId(GetCurrentProcessId(), &session);
    auto setDpi = (decltype(&SetThreadDpiAwarenessContext))(void *)GetProcAddress(GetModuleHandleW(L"user32.dll"),
                                                                                  "SetThreadDpiAwarenessContext");
    DPI_AWARENESS_CONTEXT previous = setDpi(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    if (previous == nullptr) previous = setDpi(DPI_AWARENESS_CONTEXT_SYSTEM_AWARE);
    HWND console = GetConsoleWindow();
    MEMORY_BASIC_INFORMATION stack;
    Sink += (long long)VirtualQuery(&stack, &stack, sizeof stack);
    Sink += console != nullptr ? IsIconic(console) + IsWindowVisible(console) : 0;
    if (console == nullptr || !IsWindowVisible(console)) {
        DWORD_PTR ignored = 0;
        Sink += (long long)SendMessageTimeoutW(GetForegroundWindow(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 200, &ignored);
    }
    setDpi(previous);
}

const struct {
    const char *what;
    FloorStep step;
} FloorSteps[] = {
    {"full name: GetFullPathNameW (the host)", FullNameStep},
    {"file system: GetVolumeInformationW", VolumeStep},
    {"directory entry: FindFirstFileW, FindClose, GetFileAttributesExW", EntryStep},
    {"description: GetFileAttributesW, CreateFileW of descript.ion (the host)", DescriptionStep},
    {"contents of a directory: FindFirstFileExW, FindNextFileW, FindClose", ContentsStep},
    {"three timestamps: conversion, GetDateFormatW, GetTimeFormatW", TimesStep},
    {"owner: CreateFileW, GetSecurityInfo, LookupAccountSidW", OwnerStep},
    {"file type: GetFileAttributesW (the host), registry", FileTypeStep},
    {"version: GetFileAttributesW (the host), version.dll from System32, GetFileVersionInfo(Size)W; the window station, the stack, the DPI awareness, the window's place", VersionStep},
};
enum { FLOOR_STEPS = sizeof FloorSteps / sizeof FloorSteps[0] };

Floor Floors[TARGETS];

void FloorBody(void *context, long long count)
{
    Floor *floor = (Floor *)context;
    long long i;
    int s;
    for (i = 0; i < count; i++) {
        for (s = 0; s < FLOOR_STEPS; s++) FloorSteps[s].step(floor);
    }
}

/* One step of the floor, with its Floor already filled by a whole run. */
struct StepCase {
    Floor *floor;
    FloorStep step;
};

void StepBody(void *context, long long count)
{
    StepCase *item = (StepCase *)context;
    long long i;
    for (i = 0; i < count; i++) item->step(item->floor);
}

/* The real window, closed once it has been painted. */
void WindowBody(void *context, long long count)
{
    Target *target = (Target *)context;
    WindowWatch watch;
    long long i;
    for (i = 0; i < count; i++) Sink += ShowFileInfo(target->path);
}

/* The floor of the real window: the same template with a dialog procedure
** that fills nothing and brings nothing to the front. */
INT_PTR CALLBACK EmptyDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(window, LOWORD(wParam));
    }
    return 0;
}

void EmptyWindowBody(void *, long long count)
{
    WindowWatch watch;
    long long i;
    for (i = 0; i < count; i++) {
        Sink += DialogBoxParamW(g_instance, MAKEINTRESOURCEW(IDD_FILE_INFO),
                                GetConsoleWindow(), EmptyDialogProc, 0);
    }
}

/* Makes the three targets in the data folder: 0, or -1 when it cannot. */
int MakeTargets(const BenchOptions &options, Target *targets)
{
    static const char Text[] = "[window]\r\nfields=13\r\n";
    wchar_t folder[NAME_CAPACITY], program[MAX_PATH], name[NAME_CAPACITY];
    HANDLE file;
    DWORD written;
    int i, slash;

    wsprintfW(folder, L"%s\\window", options.dataFolder);
    CreateDirectoryW(folder, nullptr);

    /* A type the prefix's class root knows, with a name and an open command. */
    wsprintfW(targets[0].path, L"%s\\settings.ini", folder);
    file = CreateFileW(targets[0].path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    WriteFile(file, Text, sizeof Text - 1, &written, nullptr);
    CloseHandle(file);

    /* The plug-in itself stands for a program with a version resource. */
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    for (slash = lstrlenW(program); slash > 0 && program[slash] != L'\\'; slash--) {}
    program[slash] = 0;
    lstrcatW(program, L"\\Tirvalo.dll");
    wsprintfW(targets[1].path, L"%s\\Tirvalo.dll", folder);
    if (!CopyFileW(program, targets[1].path, FALSE)) return -1;

    wsprintfW(targets[2].path, L"%s\\folder", folder);
    CreateDirectoryW(targets[2].path, nullptr);
    for (i = 0; i < 20; i++) {
        wsprintfW(name, L"%s\\item-%02d.txt", targets[2].path, i);
        file = CreateFileW(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    }
    return 0;
}

/* The counted calls of one run of body, after one run to warm up (the
** host's variables, the class root's key, the caches of the platform). */
void CountOneRun(TimedBody body, void *context, CallCounts *counts)
{
    body(context, 1);
    StartCounting();
    body(context, 1);
    StopCounting(counts);
}

/* Platform calls by the plug-in's code and the host together. */
long long Made(const CallCounts &counts, int function)
{
    return counts.own[function] + counts.host[function];
}

/* The counted functions on which the floor and the plug-in differ, in
** text; "yes" when they agree on all but the allocations. */
void CompareCalls(const CallCounts &plugin, const CallCounts &floor, char *out, int capacity)
{
    int f, used = 0;
    out[0] = 0;
    for (f = 0; f < COUNT_HEAP_ALLOC && used < capacity; f++) {
        if (Made(plugin, f) == Made(floor, f) && plugin.all[f] == floor.all[f]) continue;
        used += snprintf(out + used, capacity - used, "%s%s %lld/%lld", used ? ", " : "no: ",
                         CountedName(f), plugin.all[f], floor.all[f]);
    }
    if (out[0] == 0) snprintf(out, capacity, "yes");
}

/* Where the floor's time goes: each step alone, for each target. */
void PrintFloorSteps(const BenchOptions &options, Target *targets)
{
    static StepCase steps[TARGETS][FLOOR_STEPS];
    Timing results[TARGETS][FLOOR_STEPS];
    char duration[32];
    int t, s;

    for (t = 0; t < TARGETS; t++) {
        TimedCase timed[FLOOR_STEPS];
        for (s = 0; s < FLOOR_STEPS; s++) {
            steps[t][s].floor = &Floors[t];
            steps[t][s].step = FloorSteps[s].step;
            timed[s].body = StepBody;
            timed[s].context = &steps[t][s];
        }
        TimeTogether(timed, FLOOR_STEPS, options.samples, options.sampleSeconds, results[t]);
    }
    printf("Where the floor's time goes (median of each step alone):\n\n");
    printf("| Step of the floor |");
    for (t = 0; t < TARGETS; t++) printf(" %s |", targets[t].what);
    printf("\n|---|");
    for (t = 0; t < TARGETS; t++) printf("---:|");
    printf("\n");
    for (s = 0; s < FLOOR_STEPS; s++) {
        printf("| %s |", FloorSteps[s].what);
        for (t = 0; t < TARGETS; t++) {
            FormatDuration(results[t][s].median, duration, sizeof duration);
            printf(" %s |", duration);
        }
        printf("\n");
    }
    PrintTableEnd();
}

}  // namespace

void BenchWindowFacts(const BenchOptions &options)
{
    static Target targets[TARGETS] = {{"plain file (settings.ini)", {}},
                                      {"program with a version resource (Tirvalo.dll)", {}},
                                      {"directory of 20 files", {}}};
    CallCounts plugin[TARGETS], floor[TARGETS];
    Timing results[TARGETS][2], windows[TARGETS][2];
    char what[200], note[400];
    void **dialogSlot = FindImportSlot(GetModuleHandleW(nullptr), "user32.dll", "DialogBoxParamW");
    void *realDialog;
    int t;

    if (dialogSlot == nullptr || MakeTargets(options, targets) != 0) {
        printf("Cannot prepare the window's targets; section 4 left out.\n\n");
        return;
    }
    Settings = DefaultSettings;
    g_instance = (HINSTANCE)GetModuleHandleW(nullptr);   /* the window's template is in this program */

    realDialog = WriteImportSlot(dialogSlot, (void *)ClosedAtOnce);
    for (t = 0; t < TARGETS; t++) {
        TimedCase timed[2] = {{FloorBody, &Floors[t]}, {ShowBody, &targets[t]}};
        Floors[t].name = targets[t].path;
        CountOneRun(ShowBody, &targets[t], &plugin[t]);
        CountOneRun(FloorBody, &Floors[t], &floor[t]);
        TimeTogether(timed, 2, options.samples, options.sampleSeconds, results[t]);
    }
    WriteImportSlot(dialogSlot, realDialog);

    PrintTimingTable("### 4. Gathering one window's facts: ShowFileInfo up to the window "
                     "(time per window)");
    for (t = 0; t < TARGETS; t++) {
        snprintf(what, sizeof what, "ShowFileInfo, %s, window stubbed", targets[t].what);
        PrintTimingRow(what, results[t][1], &results[t][0],
                       "floor: the same platform calls, made directly");
    }

    /* The whole of it, with the window (when there is a display). */
    for (t = 0; t < TARGETS; t++) {
        TimedCase timed[2] = {{EmptyWindowBody, nullptr}, {WindowBody, &targets[t]}};
        TimeTogether(timed, 2, options.slowSamples, options.sampleSeconds, windows[t]);
        snprintf(what, sizeof what, "ShowFileInfo, %s, real window closed once painted",
                 targets[t].what);
        PrintTimingRow(what, windows[t][1], &windows[t][0],
                       "floor: the same window, empty, opened and closed the same way");
    }
    PrintTableEnd();

    PrintFloorSteps(options, targets);

    printf("Calls per window: files and registry keys opened at the system level (NtCreateFile "
           "and NtOpenFile; NtOpenKey, NtOpenKeyEx and NtCreateKey, from every module), and the "
           "platform calls of the plug-in and the host:\n\n");
    printf("| Window | Files opened | Registry keys opened | RegOpenKeyExW | CreateFileW | "
           "FindFirstFileW | GetFileAttributesW | GetVolumeInformationW | "
           "GetFileVersionInfo(Size)W | Allocations: plug-in / host / anywhere | "
           "Floor makes the same calls |\n");
    printf("|---|---:|---:|---:|---:|---:|---:|---:|---:|---|---|\n");
    for (t = 0; t < TARGETS; t++) {
        const CallCounts &c = plugin[t];
        CompareCalls(plugin[t], floor[t], note, sizeof note);
        printf("| %s | %lld | %lld | %lld | %lld | %lld | %lld | %lld | %lld | %lld / %lld / %lld | %s |\n",
               targets[t].what, FilesOpened(c.all), KeysOpened(c.all), Made(c, COUNT_REG_OPEN_KEY),
               Made(c, COUNT_CREATE_FILE), Made(c, COUNT_FIND_FIRST_FILE),
               Made(c, COUNT_GET_FILE_ATTRIBUTES), Made(c, COUNT_GET_VOLUME_INFORMATION),
               Made(c, COUNT_GET_FILE_VERSION_INFO_SIZE) + Made(c, COUNT_GET_FILE_VERSION_INFO),
               Allocations(c.own), Allocations(c.host), Allocations(c.all), note);
    }
    PrintTableEnd();
}
