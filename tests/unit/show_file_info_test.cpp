// ShowFileInfo on real files and folders, with each window read and closed
// by the stand-in shell's window watch: result codes and beeps, the name
// forms it accepts, the fields it gathers, and the versions it reads.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dialog/resource_ids.h"
#include "fileinfo/fileinfo.h"
#include "frame/plugin.h"
#include "tests/support/fileinfo_fixture.h"
#include "tests/support/locked_file.h"
#include "host/window_dump.h"

namespace {

typedef HANDLE(WINAPI *FindFirstFunction)(const wchar_t *, WIN32_FIND_DATAW *);
FindFirstFunction RealFindFirst = nullptr;
int Searches = 0;
DWORD NotOnDisk = 0;   // attributes the search adds: a file of a cloud-files provider
bool StaleEntry = false;   // the entry found is as old as a written file's may be

HANDLE WINAPI CountingFindFirst(const wchar_t *name, WIN32_FIND_DATAW *entry)
{
    Searches++;
    // Windows answers a bare drive with the entry of its current directory.
    HANDLE search = RealFindFirst(lstrlenW(name) == 2 && name[1] == L':' ? L"C:\\windows" : name, entry);
    entry->dwFileAttributes |= NotOnDisk;
    if (StaleEntry) {
        entry->nFileSizeLow = 0;
        entry->ftLastWriteTime = FILETIME{};
    }
    return search;
}

// Wine names every volume NTFS; the other answers come from here.
const wchar_t *FakeFileSystem = nullptr;   // null: the volume cannot tell
std::wstring FakeRootAsked;                // the root of the last question

BOOL WINAPI FakeVolumeInformation(const wchar_t *root, wchar_t *, DWORD, DWORD *, DWORD *, DWORD *,
                                  wchar_t *name, DWORD capacity)
{
    FakeRootAsked = root;
    if (FakeFileSystem == nullptr) return FALSE;
    lstrcpynW(name, FakeFileSystem, capacity);
    return TRUE;
}

class ShowFileInfoTest : public FileInfoTest {
protected:
    // Runs ShowFileInfo; the window it showed, if any, in *window.
    int Show(const wchar_t *name, WindowTexts *window = nullptr)
    {
        WindowWatch watch;
        int result = ShowFileInfo(name);
        EXPECT_EQ(result == 0 ? 1u : 0u, watch.Windows().size()) << "result " << result;
        if (window != nullptr && !watch.Windows().empty()) *window = watch.Windows()[0];
        return result;
    }
    // The full name the window showed for name, or "<no window>".
    std::wstring Shown(const std::wstring &name)
    {
        WindowTexts window;
        if (Show(name.c_str(), &window) != 0) return L"<no window>";
        return window.Text(IDC_FIELD_FULL_NAME);
    }
    std::wstring Program(const std::wstring &name)
    {
        std::wstring path = Path(name);
        CopyFileW((TestDirectory() + L"\\version_sample.dll").c_str(), path.c_str(), FALSE);
        return path;
    }
};

TEST_F(ShowFileInfoTest, RefusalsAndTheirBeeps)
{
    const struct { const wchar_t *name; int result, beeps; } cases[] = {
        {nullptr, SHOW_NULL_NAME, 1},
        {L"", SHOW_EMPTY_NAME, 1},
        {L"C:\\*.txt", SHOW_WILDCARD, 2},
        {L"C:\\a?b", SHOW_WILDCARD, 2},
        {L"C:\\windows\\win<", SHOW_WILDCARD, 2},
        {L"C:\\no such file.txt", SHOW_NOT_FOUND, 1},
        {L"\\\\?\\C:\\windows\\win?", SHOW_WILDCARD, 2},
    };
    for (const auto &c : cases) {
        KorrashResetBeeps();
        EXPECT_EQ(c.result, Show(c.name)) << (c.name ? c.name : L"(null)");
        EXPECT_EQ(c.beeps, KorrashBeepCount());
    }
    // The two beeps of a wildcard are 120 ms apart.
    EXPECT_GE(KorrashBeepTime(1) - KorrashBeepTime(0), 119u);
    EXPECT_LT(KorrashBeepTime(1) - KorrashBeepTime(0), 1000u);
    // A name without a doubled "%" is searched for once, one with it twice;
    // a drive root, which becomes a bare drive, is not searched for: that
    // would find the drive's current directory.
    RealFindFirst = (FindFirstFunction)ReplaceImport("kernel32.dll", "FindFirstFileW",
                                                     (void *)CountingFindFirst);
    ASSERT_NE(nullptr, RealFindFirst);
    const struct { const wchar_t *name; int searches; } missing[] = {
        {L"C:\\none%.txt", 1}, {L"C:\\none%%.txt", 2}, {L"C:\\", 0}};
    for (const auto &c : missing) {
        Searches = 0;
        KorrashResetBeeps();
        EXPECT_EQ(SHOW_NOT_FOUND, Show(c.name)) << c.name;
        EXPECT_EQ(c.searches, Searches) << c.name;
        EXPECT_EQ(1, KorrashBeepCount());
    }
    ReplaceImport("kernel32.dll", "FindFirstFileW", (void *)RealFindFirst);
    // A name the host cannot resolve (longer than its result buffer).
    std::wstring tooLong(32767, L'a');
    KorrashResetBeeps();
    EXPECT_EQ(SHOW_NO_FULL_NAME, Show(tooLong.c_str()));
    EXPECT_EQ(1, KorrashBeepCount());
    EXPECT_EQ(L"", Out() + Err());   // no messages
}

TEST_F(ShowFileInfoTest, AWindowThatCannotOpenIsAFailure)
{
    std::wstring file = MakeFile(L"a.txt", "x");
    typedef INT_PTR(WINAPI * DialogFunction)(HINSTANCE, LPCWSTR, HWND, DLGPROC, LPARAM);
    DialogFunction failing = [](HINSTANCE, LPCWSTR, HWND, DLGPROC, LPARAM) -> INT_PTR {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return -1;
    };
    void *real = ReplaceImport("user32.dll", "DialogBoxParamW", (void *)failing);
    ASSERT_NE(nullptr, real);
    KorrashResetBeeps();
    EXPECT_EQ(SHOW_NO_WINDOW, Show(file.c_str()));
    EXPECT_EQ(1, KorrashBeepCount());
    ReplaceImport("user32.dll", "DialogBoxParamW", real);
}

TEST_F(ShowFileInfoTest, NameFormsThatReachTheFile)
{
    std::wstring file = MakeFile(L"a b.txt", "x");
    std::wstring percent = MakeFile(L"50%off.txt", "x");
    std::wstring url = L"file:///" + folder_ + L"/a%20b.txt";
    for (wchar_t &c : url) c = c == L'\\' ? L'/' : c;
    std::wstring fullWidth = url;
    fullWidth.replace(fullWidth.find(L'%'), 1, L"\uff05");
    std::wstring upper = L"FiLe:" + url.substr(5);

    EXPECT_EQ(file, Shown(url));
    EXPECT_EQ(file, Shown(fullWidth));
    EXPECT_EQ(file, Shown(upper));
    EXPECT_EQ(percent, Shown(Path(L"50%%off.txt")));      // found on the retry
    EXPECT_EQ(folder_, Shown(folder_ + L"\\"));            // trailing backslash
    EXPECT_EQ(L"\\\\?\\" + file, Shown(L"\\\\?\\" + file));
    // A file address that leads nowhere goes on as a name, and is not found.
    EXPECT_EQ(L"<no window>", Shown(L"file:///C:/no/such.txt"));
    // The drive root becomes "C:", which no search finds.
    EXPECT_EQ(L"<no window>", Shown(L"C:\\"));
}

TEST_F(ShowFileInfoTest, FileWindowShowsEveryField)
{
    MakeFile(L"descript.ion", "notes.txt My notes\r\n");
    std::wstring file = MakeFile(L"notes.txt", std::string(1536, 'x'), FILE_ATTRIBUTE_READONLY);
    RegistrySandbox registry;
    RegistrySandbox::SetDefault(HKEY_CURRENT_USER, L"Software\\Classes\\.txt", L"txtfile");
    RegistrySandbox::SetDefault(HKEY_LOCAL_MACHINE, L"Software\\Classes\\txtfile", L"Text");
    WindowTexts window;
    ASSERT_EQ(0, Show(file.c_str(), &window));

    EXPECT_EQ(L"NOTES.TXT \u2014 Tirvalo 1.4.0", window.caption);
    EXPECT_EQ(file, window.Text(IDC_FIELD_FULL_NAME));
    EXPECT_EQ(L"", window.Text(IDC_FIELD_SHORT_NAME));   // 8.3 already
    EXPECT_EQ(L"My notes", window.Text(IDC_FIELD_DESCRIPTION));
    EXPECT_EQ(L"", window.Text(IDC_FIELD_VERSION));
    EXPECT_EQ(L"Size:", window.Text(IDC_LABEL_SIZE));
    EXPECT_EQ(L"1,536 bytes  (1.50 KB)", window.Text(IDC_FIELD_SIZE));
    EXPECT_EQ(L"ReadOnly Archive ", window.Text(IDC_FIELD_ATTRIBUTES));
    for (int id : {IDC_FIELD_CREATED, IDC_FIELD_MODIFIED, IDC_FIELD_ACCESSED}) {
        EXPECT_NE(std::wstring::npos, window.Text(id).find(L", 20")) << id;   // long date
        EXPECT_NE(std::wstring::npos, window.Text(id).find(L"M")) << id;      // and time
    }
    // (No owner here: with the machine's keys redirected, Wine cannot name
    // the account.  The folder's window shows one.)
    EXPECT_EQ(L"User file type:", window.Text(IDC_LABEL_FILE_TYPE));
    EXPECT_EQ(L"txtfile  (Text)", window.Text(IDC_FIELD_FILE_TYPE));
    EXPECT_EQ(L"\u2014", window.Text(IDC_FIELD_OPENS_WITH));
}

TEST_F(ShowFileInfoTest, FolderWindowAndItsContentsOption)
{
    std::wstring folder = MakeFolder(L"A Long Folder Name");
    MakeFile(L"A Long Folder Name\\one.txt");
    WindowTexts window;
    ASSERT_EQ(0, Show(folder.c_str(), &window));
    EXPECT_EQ(L"A LONG FOLDER NAME \u2014 Tirvalo 1.4.0", window.caption);
    EXPECT_NE(L"", window.Text(IDC_FIELD_SHORT_NAME));
    EXPECT_EQ(L"Contains:", window.Text(IDC_LABEL_SIZE));
    EXPECT_EQ(L"1 file, 0 subdirs", window.Text(IDC_FIELD_SIZE));
    EXPECT_EQ(L"Dir ", window.Text(IDC_FIELD_ATTRIBUTES));
    EXPECT_NE(std::wstring::npos, window.Text(IDC_FIELD_OWNER).find(L'\\'));
    EXPECT_EQ(L"File type:", window.Text(IDC_LABEL_FILE_TYPE));
    EXPECT_EQ(L"", window.Text(IDC_FIELD_FILE_TYPE));

    Settings.SubdirCounts = 0;
    ASSERT_EQ(0, Show(folder.c_str(), &window));
    EXPECT_EQ(L"", window.Text(IDC_FIELD_SIZE));
}

TEST_F(ShowFileInfoTest, SizeAboveFourGigabytes)
{
    std::wstring path = Path(L"big.bin");
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = 5LL << 30;   // the file system leaves the hole unallocated
    SetFilePointerEx(file, end, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
    WindowTexts window;
    ASSERT_EQ(0, Show(path.c_str(), &window));
    EXPECT_EQ(L"5,368,709,120 bytes  (5.00 GB)", window.Text(IDC_FIELD_SIZE));
}

// Each load of a library: its name, the flags, and the file it came from.
typedef HMODULE(WINAPI *LoadLibraryExFunction)(const wchar_t *, HANDLE, DWORD);
LoadLibraryExFunction RealLoadLibraryEx = nullptr;
std::vector<std::wstring> Loads;

HMODULE WINAPI WatchedLoadLibraryEx(const wchar_t *name, HANDLE file, DWORD flags)
{
    HMODULE module = RealLoadLibraryEx(name, file, flags);
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(module, path, MAX_PATH);
    Loads.push_back(std::wstring(name) + L" " + std::to_wstring(flags) + L" " + CharLowerW(path));
    return module;
}

// Versions of programs and libraries only, read with the version functions
// of System32's version.dll: a version.dll of the shell's folder, or of any
// other folder on the search path, is never asked for.
TEST_F(ShowFileInfoTest, VersionsOfProgramsAndLibrariesOnly)
{
    MakeFolder(L"folder.exe");
    const struct { std::wstring path; const wchar_t *version; } cases[] = {
        {Program(L"prog.EXE"), L"1.2.3.4"}, {Program(L"lib.Dll"), L"1.2.3.4"},
        {Program(L"prog.exe2"), L""},       {Program(L"control.ocx"), L""},
        {Path(L"folder.exe"), L""},         {MakeFile(L"fake.exe", "not a program"), L""},
    };
    RealLoadLibraryEx = (LoadLibraryExFunction)ReplaceImport("kernel32.dll", "LoadLibraryExW",
                                                             (void *)WatchedLoadLibraryEx);
    ASSERT_NE(nullptr, RealLoadLibraryEx);
    for (const auto &c : cases) {
        WindowTexts window;
        ASSERT_EQ(0, Show(c.path.c_str(), &window));
        EXPECT_EQ(c.version, window.Text(IDC_FIELD_VERSION)) << c.path.c_str();
    }
    ReplaceImport("kernel32.dll", "LoadLibraryExW", (void *)RealLoadLibraryEx);
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring fromSystem = L"version.dll 2048 " + std::wstring(CharLowerW(system)) + L"\\version.dll";
    EXPECT_EQ(std::vector<std::wstring>(3, fromSystem), Loads);   // prog.EXE, lib.Dll, fake.exe
}

HANDLE WINAPI NoProcessHeap()
{
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

int Allocations = 0;
typedef LPVOID(WINAPI *HeapAllocFunction)(HANDLE, DWORD, SIZE_T);
HeapAllocFunction RealHeapAlloc = nullptr;

LPVOID WINAPI CountingHeapAlloc(HANDLE heap, DWORD flags, SIZE_T size)
{
    Allocations++;
    return RealHeapAlloc(heap, flags, size);
}

// Without a heap there is no version block, and the window shows no version.
TEST_F(ShowFileInfoTest, NoVersionWithoutAHeap)
{
    std::wstring program = Program(L"prog.exe");
    void *realHeap = ReplaceImport("kernel32.dll", "GetProcessHeap", (void *)NoProcessHeap);
    RealHeapAlloc = (HeapAllocFunction)ReplaceImport("kernel32.dll", "HeapAlloc", (void *)CountingHeapAlloc);
    ASSERT_NE(nullptr, realHeap);
    ASSERT_NE(nullptr, RealHeapAlloc);
    WindowTexts window;
    EXPECT_EQ(0, Show(program.c_str(), &window));
    ReplaceImport("kernel32.dll", "GetProcessHeap", realHeap);
    ReplaceImport("kernel32.dll", "HeapAlloc", (void *)RealHeapAlloc);
    EXPECT_EQ(0, Allocations);
    EXPECT_EQ(L"", window.Text(IDC_FIELD_VERSION));
}

TEST_F(ShowFileInfoTest, TimestampsFollowTheFileSystem)
{
    const unsigned long long july15Noon = 134285904000000000ULL;   // UTC
    std::wstring path = MakeFile(L"dated.txt", "x");
    HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    FILETIME time = {(DWORD)july15Noon, (DWORD)(july15Noon >> 32)};
    SetFileTime(file, &time, &time, &time);
    CloseHandle(file);
    TIME_ZONE_INFORMATION zone;
    const std::wstring perDate = L"Wednesday, July 15, 2026  2:00:00 PM";    // summer time
    const std::wstring presentOffset = GetTimeZoneInformation(&zone) == TIME_ZONE_ID_DAYLIGHT
                                           ? perDate : L"Wednesday, July 15, 2026  1:00:00 PM";

    const struct { const wchar_t *fileSystem; std::wstring modified, accessed; } cases[] = {
        {L"NTFS", perDate, perDate},
        {L"FAT32", presentOffset, L"Wednesday, July 15, 2026"},
        {L"fat", presentOffset, L"Wednesday, July 15, 2026"},
        {L"exFAT", presentOffset, presentOffset},
        {nullptr, presentOffset, presentOffset},
    };
    void *real = ReplaceImport("kernel32.dll", "GetVolumeInformationW", (void *)FakeVolumeInformation);
    ASSERT_NE(nullptr, real);
    for (const auto &c : cases) {
        FakeFileSystem = c.fileSystem;
        WindowTexts window;
        EXPECT_EQ(0, Show(path.c_str(), &window));
        EXPECT_EQ(c.modified, window.Text(IDC_FIELD_MODIFIED)) << c.fileSystem;
        EXPECT_EQ(c.accessed, window.Text(IDC_FIELD_ACCESSED)) << c.fileSystem;
    }
    ReplaceImport("kernel32.dll", "GetVolumeInformationW", real);
}

TEST_F(ShowFileInfoTest, FileSystemOfTheVolumeRoot)
{
    // Every drive of Wine is NTFS.
    const struct { const wchar_t *path; int result; } cases[] = {
        {L"C:\\windows\\win.ini", 0}, {L"\\\\?\\C:\\windows", 0}, {L"C:\\", 0},
        {L"C:", FILE_SYSTEM_UNKNOWN}, {L"windows\\win.ini", FILE_SYSTEM_UNKNOWN},
        {L"\\\\nohost", FILE_SYSTEM_UNKNOWN}, {L"\\\\nohost\\share\\x", FILE_SYSTEM_UNKNOWN},
    };
    for (const auto &c : cases) {
        wchar_t name[1024] = L"stale";
        EXPECT_EQ(c.result, GetFileSystemName(c.path, name)) << c.path;
        if (c.result == 0) EXPECT_STREQ(L"NTFS", name);
    }
    EXPECT_EQ(FILE_SYSTEM_UNKNOWN, GetFileSystemName(nullptr, nullptr));

    // The root the volume is asked about, in each form of a path.
    const struct { const wchar_t *path, *root; } roots[] = {
        {L"C:\\dir\\x.txt", L"C:\\"},
        {L"\\\\server\\share\\dir\\x.txt", L"\\\\server\\share\\"},
        {L"\\\\?\\C:\\dir\\x.txt", L"\\\\?\\C:\\"},
        {L"\\\\?\\UNC\\server\\share\\dir\\x.txt", L"\\\\?\\UNC\\server\\share\\"},
        {L"\\\\?\\unc\\server\\share", L"\\\\?\\unc\\server\\share"},
        {L"\\\\server", L"\\\\server"},
    };
    void *real = ReplaceImport("kernel32.dll", "GetVolumeInformationW", (void *)FakeVolumeInformation);
    ASSERT_NE(nullptr, real);
    FakeFileSystem = L"NTFS";
    for (const auto &c : roots) {
        wchar_t name[1024];
        FakeRootAsked.clear();
        EXPECT_EQ(0, GetFileSystemName(c.path, name)) << c.path;
        EXPECT_EQ(c.root, FakeRootAsked) << c.path;
    }
    ReplaceImport("kernel32.dll", "GetVolumeInformationW", real);
}

HWND StandInConsole = nullptr;
HWND WINAPI TheStandInConsole() { return StandInConsole; }

// A window of this thread at (x, 150); with x 0 a hidden one of no size, as
// a pseudo console's.
HWND PlainWindow(DWORD style, int x, HWND owner)
{
    return CreateWindowExW(0, L"STATIC", L"", style, x, 150, x == 0 ? 0 : 400, x == 0 ? 0 : 300,
                           owner, nullptr, nullptr, nullptr);
}

// The window is owned by the console window, visible or hidden (a pseudo
// console, as a terminal program has), and by no other program's window,
// which it would disable; by none when the console is minimised.  It goes
// to (0, 0) of the client area of the window the user sees: the console,
// the terminal that owns a hidden one, or the window in front; always
// whole on the work area.
TEST_F(ShowFileInfoTest, TheWindowIsOwnedByTheConsoleAndPlacedWhereTheUserLooks)
{
    std::wstring file = MakeFile(L"a.txt", "x");
    LockedFile terminalProgram(L"--window");
    ASSERT_TRUE(terminalProgram.Locked());
    HWND terminal = FindWindowW(L"Static", L"terminal");
    HWND front = PlainWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, nullptr);
    HWND minimised = PlainWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_MINIMIZE, 500, nullptr);
    HWND edge = PlainWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 1100, nullptr);
    HWND pseudo = PlainWindow(WS_POPUP, 0, terminal), lone = PlainWindow(WS_POPUP, 0, nullptr);
    ASSERT_TRUE(terminal != nullptr && pseudo != nullptr && IsIconic(minimised));
    const struct { HWND console, owner, over; } cases[] = {
        {front, front, front}, {pseudo, pseudo, terminal}, {lone, lone, front}, {minimised, nullptr, front},
        {edge, edge, edge}};
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    void *real = ReplaceImport("kernel32.dll", "GetConsoleWindow", (void *)TheStandInConsole);
    ASSERT_NE(nullptr, real);
    for (const auto &c : cases) {
        SetForegroundWindow(front);
        StandInConsole = c.console;
        POINT origin = {0, 0};
        ClientToScreen(c.over, &origin);
        WindowTexts shown;
        EXPECT_EQ(0, Show(file.c_str(), &shown));
        EXPECT_EQ(c.owner, shown.owner);
        EXPECT_EQ(c.owner != nullptr, std::count(shown.disabled.begin(), shown.disabled.end(), c.owner) == 1);
        EXPECT_EQ(0, std::count(shown.disabled.begin(), shown.disabled.end(), terminal));
        // At the screen's edge, moved in as little as it takes.
        EXPECT_EQ(c.console == edge ? work.right : origin.x, c.console == edge ? shown.screenRect.right
                                                                                : shown.clientOrigin.x);
        EXPECT_EQ(origin.y, shown.clientOrigin.y);
        EXPECT_TRUE(shown.screenRect.left >= work.left && shown.screenRect.right <= work.right &&
                    shown.screenRect.bottom <= work.bottom);
    }
    ReplaceImport("kernel32.dll", "GetConsoleWindow", real);
    for (HWND window : {front, minimised, edge, pseudo, lone}) DestroyWindow(window);
}

HWND NextConsole = nullptr;   // what the console becomes during the search

HANDLE WINAPI ClosingTheConsoleFindFirst(const wchar_t *name, WIN32_FIND_DATAW *entry)
{
    if (NextConsole != nullptr) {
        DestroyWindow(StandInConsole);
        StandInConsole = NextConsole;
        NextConsole = nullptr;
    }
    return RealFindFirst(name, entry);
}

// The window's place answers and still exists when the window opens: a
// window in front that does not answer is not asked where it is (that
// would wait for its thread), and an owner closed while the facts are
// gathered is chosen again, or the window would not open.
TEST_F(ShowFileInfoTest, TheOwnerAnswersAndStillExists)
{
    std::wstring file = MakeFile(L"a.txt", "x");
    void *real = ReplaceImport("kernel32.dll", "GetConsoleWindow", (void *)TheStandInConsole);
    RealFindFirst = (FindFirstFunction)ReplaceImport("kernel32.dll", "FindFirstFileW",
                                                     (void *)ClosingTheConsoleFindFirst);
    ASSERT_TRUE(real != nullptr && RealFindFirst != nullptr);
    WindowTexts shown;
    StandInConsole = PlainWindow(WS_POPUP, 0, nullptr);   // a pseudo console of no terminal
    EXPECT_TRUE(ReturnsBesideAHungWindow([&] { EXPECT_EQ(0, Show(file.c_str(), &shown)); }));
    EXPECT_EQ(StandInConsole, shown.owner);
    DestroyWindow(StandInConsole);

    StandInConsole = PlainWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, nullptr);
    NextConsole = PlainWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, nullptr);
    EXPECT_EQ(0, Show(file.c_str(), &shown));
    EXPECT_TRUE(IsWindow(shown.owner));
    EXPECT_EQ(StandInConsole, shown.owner);
    DestroyWindow(StandInConsole);
    ReplaceImport("kernel32.dll", "FindFirstFileW", (void *)RealFindFirst);
    ReplaceImport("kernel32.dll", "GetConsoleWindow", real);
}

// The version functions, which the plug-in takes by name, and the other
// calls the tests below watch or fail.
typedef FARPROC(WINAPI *ProcAddressFunction)(HMODULE, const char *);
typedef DWORD(WINAPI *VersionSizeFunction)(const wchar_t *, DWORD *);
typedef HANDLE(WINAPI *FindFirstExFunction)(const wchar_t *, FINDEX_INFO_LEVELS, void *, FINDEX_SEARCH_OPS,
                                             void *, DWORD);
typedef HANDLE(WINAPI *CreateFileFunction)(const wchar_t *, DWORD, DWORD, SECURITY_ATTRIBUTES *, DWORD,
                                           DWORD, HANDLE);
ProcAddressFunction RealProcAddress = nullptr;
VersionSizeFunction RealVersionSize = nullptr;
FindFirstExFunction RealFindFirstEx = nullptr;
CreateFileFunction RealCreateFile = nullptr;

// On Windows, without the long-path opt-in, a path of MAX_PATH units or
// more is not found unless it is in the long-path form.
bool Enforce260 = false;
std::vector<std::wstring> PathsAsked;    // by every call below, in order
int VersionQuestions = 0, Listings = 0;
std::vector<DWORD> Opens;                // the access, sharing and flags of each CreateFileW, in turn

bool Refused(const wchar_t *path)
{
    PathsAsked.push_back(path);
    // The long-path form is taken as written: no "/", "." or ".." there.
    bool refused = Enforce260 && (wcsncmp(path, L"\\\\?\\", 4) == 0
                                      ? wcschr(path, L'/') || wcsstr(path, L"\\.\\") || wcsstr(path, L"\\..\\")
                                      : lstrlenW(path) >= MAX_PATH);
    if (refused) SetLastError(ERROR_PATH_NOT_FOUND);
    return refused;
}

// Asked by the plug-in, and by the host with the names it is given.
DWORD(WINAPI *RealAttributes)(const wchar_t *) = nullptr;
DWORD WINAPI WatchedAttributes(const wchar_t *path)
{
    return Refused(path) ? INVALID_FILE_ATTRIBUTES : RealAttributes(path);
}

// The file's own size and times, read again after the search.
typedef BOOL(WINAPI *AttributesExFunction)(const wchar_t *, GET_FILEEX_INFO_LEVELS, void *);
AttributesExFunction RealAttributesEx = nullptr;
bool RefuseAttributes = false;
BOOL WINAPI WatchedAttributesEx(const wchar_t *name, GET_FILEEX_INFO_LEVELS level, void *data)
{
    if (Refused(name) || RefuseAttributes || !RealAttributesEx(name, level, data)) return FALSE;
    ((WIN32_FILE_ATTRIBUTE_DATA *)data)->dwFileAttributes |= NotOnDisk;
    return TRUE;
}

HANDLE WINAPI WatchedFindFirst(const wchar_t *name, WIN32_FIND_DATAW *entry)
{
    if (Refused(name)) return INVALID_HANDLE_VALUE;
    return CountingFindFirst(name, entry);
}

// Counting takes the entries' basic information, in large batches.
HANDLE WINAPI WatchedFindFirstEx(const wchar_t *name, FINDEX_INFO_LEVELS level, void *entry,
                                 FINDEX_SEARCH_OPS search, void *filter, DWORD flags)
{
    Listings++;
    EXPECT_TRUE(level == FindExInfoBasic && search == FindExSearchNameMatch && filter == nullptr &&
                flags == FIND_FIRST_EX_LARGE_FETCH);
    if (Refused(name)) return INVALID_HANDLE_VALUE;
    return RealFindFirstEx(name, level, entry, search, filter, flags);
}

HANDLE WINAPI WatchedCreateFile(const wchar_t *name, DWORD access, DWORD share, SECURITY_ATTRIBUTES *security,
                                DWORD disposition, DWORD flags, HANDLE model)
{
    Opens.insert(Opens.end(), {access, share, flags});
    if (Refused(name)) return INVALID_HANDLE_VALUE;
    return RealCreateFile(name, access, share, security, disposition, flags, model);
}

std::vector<std::string> DpiSteps;   // each DPI context asked for, and the windows read by then
const WindowWatch *DpiWatch = nullptr;   // null: the steps are not recorded

DWORD WINAPI WatchedVersionSize(const wchar_t *path, DWORD *handle)
{
    VersionQuestions++;
    if (DpiWatch != nullptr) DpiSteps.push_back("facts");   // the last fact gathered
    return Refused(path) ? 0 : RealVersionSize(path, handle);
}

// The functions the plug-in takes by name that the tests watch: each is
// handed back as its stand-in, and the real one kept.
typedef DPI_AWARENESS_CONTEXT(WINAPI *SetDpiFunction)(DPI_AWARENESS_CONTEXT);
SetDpiFunction RealSetDpi = nullptr;
DPI_AWARENESS_CONTEXT WINAPI RecordingSetDpi(DPI_AWARENESS_CONTEXT context);
const struct {
    const char *name;
    void **real;
    void *standIn;
} TakenByName[] = {
    {"GetFileVersionInfoSizeW", (void **)&RealVersionSize, (void *)WatchedVersionSize},
    {"SetThreadDpiAwarenessContext", (void **)&RealSetDpi, (void *)RecordingSetDpi},
};

FARPROC WINAPI WatchedProcAddress(HMODULE module, const char *name)
{
    FARPROC function = RealProcAddress(module, name);
    if (function == nullptr || IS_INTRESOURCE(name)) return function;
    for (const auto &taken : TakenByName) {
        if (strcmp(name, taken.name) != 0) continue;
        *taken.real = (void *)function;
        return (FARPROC)taken.standIn;
    }
    return function;
}

// Watches the file-system calls of the plug-in's code while it lives.
class FileSystemWatch {
public:
    FileSystemWatch()
    {
        RealFindFirst = (FindFirstFunction)ReplaceImport("kernel32.dll", "FindFirstFileW", (void *)WatchedFindFirst);
        RealFindFirstEx = (FindFirstExFunction)ReplaceImport("kernel32.dll", "FindFirstFileExW",
                                                             (void *)WatchedFindFirstEx);
        RealCreateFile = (CreateFileFunction)ReplaceImport("kernel32.dll", "CreateFileW", (void *)WatchedCreateFile);
        RealProcAddress = (ProcAddressFunction)ReplaceImport("kernel32.dll", "GetProcAddress",
                                                            (void *)WatchedProcAddress);
        RealAttributesEx = (AttributesExFunction)ReplaceImport("kernel32.dll", "GetFileAttributesExW",
                                                               (void *)WatchedAttributesEx);
        for (void **slot : AttributesSlots()) {
            RealAttributes = (decltype(RealAttributes))WriteImportSlot(slot, (void *)WatchedAttributes);
        }
        EXPECT_TRUE(RealFindFirst && RealFindFirstEx && RealCreateFile && RealProcAddress && RealAttributesEx &&
                    RealAttributes);
        PathsAsked.clear();
        Opens.clear();
        VersionQuestions = Listings = 0;
    }
    ~FileSystemWatch()
    {
        ReplaceImport("kernel32.dll", "FindFirstFileW", (void *)RealFindFirst);
        ReplaceImport("kernel32.dll", "FindFirstFileExW", (void *)RealFindFirstEx);
        ReplaceImport("kernel32.dll", "CreateFileW", (void *)RealCreateFile);
        ReplaceImport("kernel32.dll", "GetProcAddress", (void *)RealProcAddress);
        ReplaceImport("kernel32.dll", "GetFileAttributesExW", (void *)RealAttributesEx);
        for (void **slot : AttributesSlots()) WriteImportSlot(slot, (void *)RealAttributes);
        Enforce260 = StaleEntry = RefuseAttributes = false;
        NotOnDisk = 0;
    }
    static std::vector<void **> AttributesSlots()   // the plug-in's, and the host's
    {
        return {FindImportSlot(GetModuleHandleW(nullptr), "kernel32.dll", "GetFileAttributesW"),
                FindImportSlot(GetModuleHandleW(L"Korrash.dll"), "kernel32.dll", "GetFileAttributesW")};
    }
};

// A file or folder that a cloud-files provider keeps off the disk is not
// read: a program for its version, a folder for its contents (either would
// download it); every other field is as before (the last run, on the
// disk, reads the program, and so changes its access time).  The owner's
// open fetches nothing either.
TEST_F(ShowFileInfoTest, FilesNotOnTheDiskAreNotRead)
{
    const std::wstring paths[] = {Program(L"prog.exe"), MakeFolder(L"cloud")};
    MakeFile(L"cloud\\inside.txt", "x");
    for (const std::wstring &path : paths) {
        FileSystemWatch watch;
        std::vector<WindowTexts> windows;
        for (DWORD attributes : {0x400000u, 0x40000u, 0x1000u, 0x0u}) {   // recall on data access, on open; offline
            NotOnDisk = attributes;
            VersionQuestions = Listings = 0;
            WindowTexts window;
            EXPECT_EQ(0, Show(path.c_str(), &window));
            EXPECT_EQ(attributes == 0 ? 1 : 0, VersionQuestions + Listings) << attributes;
            EXPECT_NE(L"", window.Text(IDC_FIELD_OWNER));
            for (const WindowControl &control : window.controls) {
                if (control.id == IDC_FIELD_VERSION || control.id == IDC_FIELD_ATTRIBUTES ||
                    control.id == IDC_FIELD_SIZE) continue;
                EXPECT_EQ(windows.empty() ? control.text : windows[0].Text(control.id), control.text) << control.id;
            }
            windows.push_back(window);
            bool program = path == paths[0];
            EXPECT_EQ(attributes != 0 ? L"" : program ? L"1.2.3.4" : L"", window.Text(IDC_FIELD_VERSION));
            if (!program) EXPECT_EQ(attributes != 0 ? L"" : L"1 file, 0 subdirs", window.Text(IDC_FIELD_SIZE));
        }
        // The owner is read with the right to read it alone, every kind of
        // sharing, a directory's backup semantics, no recall, and of a link
        // itself.
        const std::vector<DWORD> ownerOpen = {
            READ_CONTROL, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
            FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_NO_RECALL | FILE_FLAG_OPEN_REPARSE_POINT};
        ASSERT_EQ(4 * ownerOpen.size(), Opens.size());
        EXPECT_EQ(ownerOpen, std::vector<DWORD>(Opens.begin(), Opens.begin() + 3));
        EXPECT_EQ(ownerOpen, std::vector<DWORD>(Opens.end() - 3, Opens.end()));
    }
}

// A file another program writes: its entry may hold an old size and time;
// the file's own are shown, the entry's where they cannot be read.
TEST_F(ShowFileInfoTest, SizeAndTimesAreReadAgainAfterTheSearch)
{
    std::wstring file = MakeFile(L"log.txt", std::string(2048, 'x'));
    FileSystemWatch watch;
    StaleEntry = true;
    for (bool readable : {true, false}) {
        RefuseAttributes = !readable;
        WindowTexts window;
        ASSERT_EQ(0, Show(file.c_str(), &window));
        EXPECT_EQ(readable ? L"2,048 bytes  (2.00 KB)" : L"0 bytes", window.Text(IDC_FIELD_SIZE));
        EXPECT_EQ(readable, window.Text(IDC_FIELD_MODIFIED).find(L"1601") == std::wstring::npos);
    }
}

// A path of MAX_PATH units or more reaches every file-system call in the
// long-path form, made from the name normalised, as Windows wants it
// without the long-path opt-in; the host, which is asked with the plain
// name, is not asked about it at all.  The window shows the name as the
// host gave it.  A shorter path is passed, and asked of the host, as it is.
TEST_F(ShowFileInfoTest, PathsLongerThanMaxPath)
{
    std::wstring deep = MakeFolder(std::wstring(120, L'd'));
    deep = MakeFolder(std::wstring(120, L'd') + L"\\" + std::wstring(120, L'e'));
    const std::wstring program = deep + L"\\prog.dll", folder = deep + L"\\sub.tvd";
    CopyFileW((TestDirectory() + L"\\version_sample.dll").c_str(), program.c_str(), FALSE);
    CreateDirectoryW(folder.c_str(), nullptr);
    WriteBytes(folder + L"\\one.txt", "1");
    ASSERT_GT(folder.size(), 280u);
    RegistrySandbox registry;   // a folder's "extension" has a file type
    RegistrySandbox::SetDefault(HKEY_CURRENT_USER, L"Software\\Classes\\.tvd", L"tvdfile");
    const std::wstring shortFolder = MakeFolder(L"short");
    for (const std::wstring &path : {program, folder, shortFolder}) {
        FileSystemWatch watch;
        Enforce260 = true;
        WindowTexts window;
        ASSERT_EQ(0, Show(path.c_str(), &window)) << path.size();
        EXPECT_EQ(path, window.Text(IDC_FIELD_FULL_NAME));
        EXPECT_EQ(path == program ? L"1.2.3.4" : L"", window.Text(IDC_FIELD_VERSION));
        EXPECT_NE(L"", window.Text(IDC_FIELD_DESCRIPTION));
        EXPECT_EQ(L"", window.Text(IDC_FIELD_FILE_TYPE));
        const std::wstring size = window.Text(IDC_FIELD_SIZE);
        if (path == program) EXPECT_NE(std::wstring::npos, size.find(L" KB)")) << size;
        if (path != program) EXPECT_EQ(path == folder ? L"1 file, 0 subdirs" : L"0 files, 0 subdirs", size);
        EXPECT_NE(L"", window.Text(IDC_FIELD_OWNER));
        EXPECT_NE(L"", window.Text(IDC_FIELD_MODIFIED));
        const std::wstring asked = path == shortFolder ? path : L"\\\\?\\" + path;
        for (const std::wstring &name : PathsAsked) EXPECT_EQ(0u, name.find(asked)) << name;
        EXPECT_EQ(path == shortFolder ? 6u : 4u, PathsAsked.size());   // and the host's two questions
    }
    // A file address is found at any length, its ".." made good first.
    std::wstring url = L"file:///" + deep + L"\\..\\" + std::wstring(120, L'e') + L"\\prog.dll";
    std::replace(url.begin(), url.end(), L'\\', L'/');
    FileSystemWatch watch;
    Enforce260 = true;
    EXPECT_EQ(program, Shown(url));
}

// The thread is in the display's own DPI from after the facts are
// gathered, right before the window opens (or the help's box), until it
// has closed, then has its own context back: per-monitor v2, or system
// awareness where the system refuses that.
DPI_AWARENESS_CONTEXT DpiBefore = nullptr;

DPI_AWARENESS_CONTEXT WINAPI RecordingSetDpi(DPI_AWARENESS_CONTEXT context)
{
    DPI_AWARENESS_CONTEXT previous = RealSetDpi(context);
    if (DpiWatch == nullptr) return previous;
    // The constant asked for is told by its value (a system that does not
    // know it finds it equal to nothing); a context the system gave, only
    // by the system's comparison.
    std::string step = context == DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2                     ? "v2"
                       : AreDpiAwarenessContextsEqual(context, DPI_AWARENESS_CONTEXT_SYSTEM_AWARE) ? "system"
                       : AreDpiAwarenessContextsEqual(context, DpiBefore)                          ? "back"
                                                                                                    : "other";
    DpiSteps.push_back(step + (previous == nullptr ? " refused" : "") + " " +
                       std::to_string(DpiWatch->Windows().size()));
    return previous;
}

TEST_F(ShowFileInfoTest, TheWindowAndTheHelpAreInTheDisplaysDpi)
{
    std::wstring file = Program(L"prog.exe");
    RealProcAddress = (ProcAddressFunction)ReplaceImport("kernel32.dll", "GetProcAddress", (void *)WatchedProcAddress);
    ASSERT_NE(nullptr, RealProcAddress);
    DpiBefore = GetThreadDpiAwarenessContext();
    for (bool help : {false, true}) {
        WindowWatch watch;
        DpiWatch = &watch;
        DpiSteps.clear();
        EXPECT_EQ(help ? -1 : 0, help ? Help(L"tirvalo") : ShowFileInfo(file.c_str()));
        ASSERT_EQ(1u, watch.Windows().size());
        std::string steps, facts = help ? "" : "facts; ";
        for (const std::string &step : DpiSteps) steps += step + "; ";
        EXPECT_TRUE(steps == facts + "v2 0; back 1; " || steps == facts + "v2 refused 0; system 0; back 1; ") << steps;
        EXPECT_TRUE(AreDpiAwarenessContextsEqual(DpiBefore, GetThreadDpiAwarenessContext()));
    }
    DpiWatch = nullptr;
    ReplaceImport("kernel32.dll", "GetProcAddress", (void *)RealProcAddress);
}

TEST_F(ShowFileInfoTest, TitleIsCutToFitItsText)
{
    const std::wstring suffix = L" \u2014 Tirvalo 1.4.0";
    wchar_t title[1024];
    std::wstring fits(1023 - suffix.size(), L'N');
    BuildTitle(title, fits.c_str());
    EXPECT_EQ(fits + suffix, title);
    BuildTitle(title, (fits + L"XYZ").c_str());
    EXPECT_EQ(fits + suffix, title);
    // Never between the halves of a surrogate pair.
    std::wstring pair = fits.substr(1) + L"\U0001F600";
    BuildTitle(title, pair.c_str());
    EXPECT_EQ(fits.substr(1) + suffix, title);
}

}  // namespace
