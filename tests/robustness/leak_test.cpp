// No path of the plug-in leaves a registry key, a file or a search open, or
// holds on to memory: every branch of ShowFileInfo, of loading and saving
// the options, of the file-type lookup, of the owner, the contents, the
// description, the volume's file system and file addresses, and of copying
// the window's texts, runs once to warm up and then twenty times more, and
// the process must hold exactly what it held after the first run, but for
// the private bytes that as many plain windows as the runs opened take.
#include <windows.h>

#include <functional>
#include <string>
#include <thread>

#include "fileinfo/fileinfo.h"
#include "fileinfo/filetype.h"
#include "fileinfo/formatters.h"
#include "tests/support/fileinfo_fixture.h"
#include "tests/support/locked_file.h"
#include "tests/support/process_counters.h"
#include "tests/support/press_keys.h"
#include "window_closer.h"

namespace {

const int Repeats = 20;

class LeakTest : public FileInfoTest {
protected:
    // Runs path once, then Repeats times more, and compares.
    void ExpectNoLeak(const char *what, const std::function<void()> &path)
    {
        static OpenHandles handlesBefore, handlesAfter;
        closer_.Keep(1);
        path();
        ProcessCounters before = ReadProcessCounters();
        ReadOpenHandles(&handlesBefore);
        const int closed = closer_.Closed();
        for (int i = 0; i < Repeats; i++) path();
        ProcessCounters after = ReadProcessCounters();
        ReadOpenHandles(&handlesAfter);
        const int windows = closer_.Closed() - closed;
        PlatformShare platform = {0, 0};
        if (windows > 0 && after.privateBytes > before.privateBytes) {
            platform = PlainWindowsKeep(closer_.Kept(), windows);
        }
        EXPECT_EQ("", NewHandles(handlesBefore, handlesAfter)) << what;
        EXPECT_EQ("", Changes(before, after, platform.privateBytes)) << what;
    }
    // ShowFileInfo on name must give result.
    void ExpectShowNoLeak(const char *what, const std::wstring &name, int result)
    {
        ExpectNoLeak(what, [&] { EXPECT_EQ(result, ShowFileInfo(name.c_str())) << what; });
    }

    WindowCloser closer_;
};

TEST_F(LeakTest, ShowFileInfoOnEveryBranch)
{
    std::wstring program = Path(L"prog.exe");
    ASSERT_TRUE(CopyFileW((TestDirectory() + L"\\version_sample.dll").c_str(), program.c_str(), FALSE));
    std::wstring text = MakeFile(L"50%off.txt", "hello");
    std::wstring fake = MakeFile(L"fake.exe", "not a program");
    std::wstring folder = MakeFolder(L"folder");
    MakeFile(L"folder\\one.txt");
    std::wstring url = L"file:///" + text;
    for (wchar_t &c : url) c = c == L'\\' ? L'/' : c;
    url.replace(url.find(L'%'), 1, L"%25");

    EXPECT_EQ(SHOW_NULL_NAME, ShowFileInfo(nullptr));
    ExpectShowNoLeak("empty name", L"", SHOW_EMPTY_NAME);
    ExpectShowNoLeak("no full path", std::wstring(32767, L'a'), SHOW_NO_FULL_NAME);
    ExpectShowNoLeak("wildcard", Path(L"*.txt"), SHOW_WILDCARD);
    ExpectShowNoLeak("not found", Path(L"missing.txt"), SHOW_NOT_FOUND);
    ExpectShowNoLeak("not found after undoubling", Path(L"missing%%.txt"), SHOW_NOT_FOUND);
    ExpectShowNoLeak("found after undoubling", Path(L"50%%off.txt"), 0);
    ExpectShowNoLeak("file", text, 0);
    ExpectShowNoLeak("program with a version", program, 0);
    ExpectShowNoLeak("program without a version", fake, 0);
    ExpectShowNoLeak("directory with counts", folder, 0);
    Settings.SubdirCounts = 0;
    ExpectShowNoLeak("directory without counts", folder, 0);
    ExpectShowNoLeak("file address", url, 0);
    ExpectShowNoLeak("file address to nothing", L"file:///C:/no/such/file.txt", SHOW_NOT_FOUND);
    EXPECT_EQ(7 * (Repeats + 1), closer_.Closed());   // the seven names that open a window
}

TEST_F(LeakTest, LoadingAndSavingTheOptionsOnEveryBranch)
{
    RegistrySandbox registry;
    const int savedHotkey = Settings.Hotkey;
    auto load = [](int expected) {
        return [expected] {
            EXPECT_EQ(expected, LoadSettings(1));
            KorrashClearCaptured();
        };
    };
    ExpectNoLeak("load: no key", load(SETTINGS_NOT_FOUND));
    RegistrySandbox::PutNumber(HKEY_CURRENT_USER, SMART_TIMES_VALUE, 2);
    ExpectNoLeak("load: a user key without a hotkey", load(SETTINGS_NOT_FOUND));
    RegistrySandbox::PutAll(HKEY_LOCAL_MACHINE, 0x10017, 0, 0);
    ExpectNoLeak("load: from the machine", load(0));
    RegistrySandbox::PutNumber(HKEY_CURRENT_USER, HOTKEY_VALUE, 0x12345);
    ExpectNoLeak("load: an invalid hotkey", load(SETTINGS_INVALID_HOTKEY));
    RegistrySandbox::PutAll(HKEY_CURRENT_USER, 17, 1, 1);
    ExpectNoLeak("load: from the user", load(0));

    Settings.Hotkey = savedHotkey;
    ExpectNoLeak("save", [] { EXPECT_EQ(0, SaveSettings()); });

    typedef LONG(WINAPI * SetValue)(HKEY, LPCWSTR, DWORD, DWORD, const BYTE *, DWORD);
    static SetValue real = nullptr;
    SetValue failing = [](HKEY, LPCWSTR, DWORD, DWORD, const BYTE *, DWORD) -> LONG {
        return ERROR_ACCESS_DENIED;
    };
    real = (SetValue)ReplaceImport("advapi32.dll", "RegSetValueExW", (void *)failing);
    ASSERT_NE(nullptr, real);
    ExpectNoLeak("save: a value cannot be written", [] {
        EXPECT_EQ(SETTINGS_NOT_SAVED, SaveSettings());
        KorrashClearCaptured();
    });
    ReplaceImport("advapi32.dll", "RegSetValueExW", (void *)real);

    RegistrySandbox::DenyWriting(HKEY_CURRENT_USER);
    ExpectNoLeak("save: the key cannot be opened for writing", [] {
        EXPECT_EQ(SETTINGS_NOT_SAVED, SaveSettings());
        KorrashClearCaptured();
    });
}

TEST_F(LeakTest, FileTypesOnEveryBranch)
{
    RegistrySandbox registry;
    RegistrySandbox::SetDefault(HKEY_CURRENT_USER, L"Software\\Classes\\.tvu", L"tvufile");
    RegistrySandbox::SetDefault(HKEY_CURRENT_USER, L"Software\\Classes\\tvufile", L"TVU Document");
    RegistrySandbox::SetDefault(HKEY_LOCAL_MACHINE, L"Software\\Classes\\tvufile\\shell\\open\\command",
                                L"\"C:\\tvu.exe\" \"%1\"");
    RegistrySandbox::SetDefault(HKEY_CLASSES_ROOT, L".tvr", L"tvrfile");
    RegistrySandbox::SetDefault(HKEY_CLASSES_ROOT, L".tvl", std::wstring(4000, L'c').c_str());
    std::wstring type(FILE_TYPE_CAPACITY, L'\0'), command(FILE_TYPE_CAPACITY, L'\0');
    auto find = [&](const std::wstring &path, int result, FileTypeSource source) {
        return [&, path, result, source] {
            FileTypeSource found = 99;
            EXPECT_EQ(result, GetFileTypeInfo(path.c_str(), &type[0], &command[0], &found)) << path.c_str();
            EXPECT_EQ(source, found) << path.c_str();
        };
    };
    ExpectNoLeak("directory", find(folder_, 0, SourceDirectory));
    ExpectNoLeak("no extension", find(Path(L"README"), FILE_TYPE_REFUSED, SourceNone));
    ExpectNoLeak("per-user class, friendly name, command", find(Path(L"a.tvu"), 0, SourceUserClasses));
    ExpectNoLeak("class root, nothing more", find(Path(L"a.tvr"), 0, SourceClassesRoot));
    ExpectNoLeak("no class", find(Path(L"a.tvz"), 0, SourceNone));
    ExpectNoLeak("a class too long for its key path", find(Path(L"a.tvl"), 0, SourceClassesRoot));
}

TEST_F(LeakTest, OwnersContentsDescriptionsVolumesAndAddresses)
{
    std::wstring file = MakeFile(L"owned.txt", "x");
    std::wstring locked = MakeFile(L"locked.txt", "x");
    MakeFile(L"descript.ion", "owned.txt Mine\r\n");
    wchar_t out[DESCRIPTION_CAPACITY];
    ExpectNoLeak("owner", [&] { EXPECT_EQ(0, GetOwnerName(out, file.c_str())); });
    ExpectNoLeak("owner of a missing file",
                 [&] { EXPECT_EQ(OWNER_NOT_OPENED, GetOwnerName(out, Path(L"no").c_str())); });
    {
        LockedFile lock(locked);
        ASSERT_TRUE(lock.Locked());
        ExpectNoLeak("owner of a file locked by another process",
                     [&] { EXPECT_EQ(0, GetOwnerName(out, locked.c_str())); });
    }
    ExpectNoLeak("contents", [&] { FormatContents(out, folder_.c_str()); });
    ExpectNoLeak("contents of a missing directory", [&] { FormatContents(out, Path(L"no").c_str()); });
    ExpectNoLeak("description", [&] { EXPECT_EQ(0, GetDescription(file.c_str(), out)); });
    ExpectNoLeak("volume", [&] { EXPECT_EQ(0, GetFileSystemName(file.c_str(), out)); });
    ExpectNoLeak("volume of a missing share",
                 [&] { EXPECT_EQ(FILE_SYSTEM_UNKNOWN, GetFileSystemName(L"\\\\nohost\\share\\x.txt", out)); });
    std::wstring address(PATH_CAPACITY, L'\0');
    ExpectNoLeak("file address", [&] {
        std::wstring url = L"file:///" + file;
        lstrcpynW(&address[0], url.c_str(), PATH_CAPACITY);
        EXPECT_EQ(URL_REPLACED, UrlToPath(&address[0]));
    });
    ExpectNoLeak("file address to nothing", [&] {
        lstrcpynW(&address[0], L"file:///C:/no/such%%20file", PATH_CAPACITY);
        EXPECT_EQ(0, UrlToPath(&address[0]));
    });
}

// Copies the texts of the window captioned caption once it is up, as the
// copy keys do, and closes it: a timer of the window's thread.
struct Copying {
    const wchar_t *caption;
    int status;
};
thread_local Copying *CurrentCopying;

void CALLBACK CopyStep(HWND, UINT, UINT_PTR, DWORD)
{
    HWND window = FindWindowW(L"#32770", CurrentCopying->caption);
    if (window == nullptr || CurrentCopying->status != 1) return;
    CurrentCopying->status = CopyWindowTexts(window);
    PostMessageW(window, WM_COMMAND, IDOK, 0);
}

// Shows the window for record and copies its texts; CopyWindowTexts' result.
int ShowAndCopy(FileInfoRecord *record)
{
    Copying copying = {record->title, 1};
    CurrentCopying = &copying;
    UINT_PTR timer = SetTimer(nullptr, 0, 10, CopyStep);
    DialogBoxParamW(g_instance, MAKEINTRESOURCEW(IDD_FILE_INFO), nullptr, InfoDialogProc,
                    (LPARAM)record);
    KillTimer(nullptr, timer);
    CurrentCopying = nullptr;
    return copying.status;
}

TEST_F(LeakTest, CopyingTheWindowsTextsAndItsFailures)
{
    FileInfoRecord record = {};
    record.title = L"COPIED";
    auto copy = [&record](int status, const std::wstring &start) {
        return [&record, status, start] {
            EXPECT_EQ(status, ShowAndCopy(&record));
            EXPECT_EQ(start, ClipboardText().substr(0, start.size()));
        };
    };
    typedef HANDLE(WINAPI * SetData)(UINT, HANDLE);
    static SetData real = nullptr;
    SetData failing = [](UINT, HANDLE) -> HANDLE { return nullptr; };
    // The failures copy more than 16 KB, so that a block left behind shows.
    // (Wine's clipboard holds on to some memory after a copy that large
    // succeeds, and its edit control does with a long text in a field of
    // several lines: the long text is a description.)
    std::wstring description(8000, L'd');
    // On a thread of its own, which the window closer of this one does not see.
    std::thread([&] {
        ExpectNoLeak("copy", copy(0, L"COPIED\r\nFull Name:\t\r\n"));
        record.description = description.c_str();
        real = (SetData)ReplaceImport("user32.dll", "SetClipboardData", (void *)failing);
        ASSERT_NE(nullptr, real);
        ExpectNoLeak("copy when the text cannot be placed", copy(-4, L"<none>"));
        ReplaceImport("user32.dll", "SetClipboardData", (void *)real);
        LockedFile held(L"--clipboard");
        ASSERT_TRUE(held.Locked());
        ExpectNoLeak("copy while another program holds the clipboard", copy(-2, L"<held>"));
    }).join();
}

}  // namespace
