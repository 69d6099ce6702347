// Hostile input through the plug-in's real paths under Wine: names at the
// path limit and in the long-path form, names with the host's special
// characters and with units that are no characters, device names, a share
// that does not exist, a directory that cannot be listed, many and long
// arguments through the shell, registry values of every type and size,
// file-type values that fill their buffers without a terminator, a file
// locked by another process, and a directory of 100,000 entries.
#include <windows.h>
#include <winternl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "command/command.h"
#include "dialog/resource_ids.h"
#include "fileinfo/fileinfo.h"
#include "fileinfo/filetype.h"
#include "fileinfo/formatters.h"
#include "host/window_dump.h"
#include "tests/support/locked_file.h"
#include "press_hotkey.h"
#include "tests/support/fileinfo_fixture.h"
#include "tests/support/shell_runner.h"

extern "C" NTSTATUS NTAPI NtSetValueKey(HANDLE key, UNICODE_STRING *name, ULONG index, ULONG type,
                                        const void *data, ULONG size);

namespace {

// Writes a value of exactly size bytes into root's settings key: unlike
// RegSetValueExW, the native call adds no terminator to a text value that
// the caller left without one.
void PutExact(HKEY root, SettingsValue which, DWORD type, const void *data, DWORD size)
{
    const wchar_t *name = StoredSettingsValues[which];
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, StoredSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &key, nullptr));
    UNICODE_STRING text = {(USHORT)(lstrlenW(name) * sizeof(wchar_t)),
                           (USHORT)(lstrlenW(name) * sizeof(wchar_t)), (wchar_t *)name};
    EXPECT_EQ(0, NtSetValueKey(key, &text, 0, type, data, size));
    // The size as stored: RegGetValueW would add room for a terminator that
    // a text value lacks.
    DWORD stored = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, name, nullptr, nullptr, nullptr, &stored));
    RegCloseKey(key);
    EXPECT_EQ(size, stored) << "stored size of " << type;
}

class HostileTest : public FileInfoTest {
protected:
    void SetUp() override
    {
        FileInfoTest::SetUp();
        Settings = DefaultSettings;
    }

    // ShowFileInfo on name: its result, the full name its window showed
    // (or "<no window>"), and the window in *shown.
    static int Show(const std::wstring &name, std::wstring *fullName, WindowTexts *shown = nullptr)
    {
        WindowWatch watch;
        int result = ShowFileInfo(name.c_str());
        *fullName = watch.Windows().empty() ? L"<no window>" : watch.Windows()[0].Text(IDC_FIELD_FULL_NAME);
        if (shown != nullptr && !watch.Windows().empty()) *shown = watch.Windows()[0];
        EXPECT_EQ(result == 0 ? 1u : 0u, watch.Windows().size()) << Utf8(name);
        return result;
    }
    // The hotkey with the cursor at cursor (the end by default); the full
    // name shown.
    static std::wstring Press(const std::wstring &line, size_t cursor = std::wstring::npos)
    {
        WindowWatch watch;
        EXPECT_TRUE(PressHotkey(line, cursor));
        return watch.Windows().empty() ? L"<no window>" : watch.Windows()[0].Text(IDC_FIELD_FULL_NAME);
    }
};

TEST_F(HostileTest, NamesAtThePathLimitAndInTheLongPathForm)
{
    // A real file deep below the old 260-unit limit, by both forms.
    std::wstring deep = folder_;
    for (int i = 0; i < 4; i++) {
        deep += L"\\" + std::wstring(120, (wchar_t)(L'a' + i));
        ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr)) << i;
    }
    std::wstring file = deep + L"\\file.txt";
    HANDLE handle = CreateFileW((L"\\\\?\\" + file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, handle);
    CloseHandle(handle);
    std::wstring shown;
    EXPECT_EQ(0, Show(file, &shown));
    EXPECT_EQ(file, shown);
    EXPECT_EQ(0, Show(L"\\\\?\\" + file, &shown));
    EXPECT_EQ(L"\\\\?\\" + file, shown);
    EXPECT_EQ(file, Press(L"list \"" + file + L"\""));

    // Names of 32,767 units in every form: refused or not found, never
    // written past a text.
    const std::wstring names[] = {
        std::wstring(32767, L'n'),
        L"\\\\?\\C:\\" + std::wstring(32767 - 7, L'n'),
        L"C:\\" + std::wstring(32767 - 3, L'%'),
        L"file:///C:/" + std::wstring(32767 - 11, L'u'),
        L"file:///C:/" + std::wstring(32767 - 11, L'%'),
        L"\\\\?\\C:\\" + std::wstring(32767 - 8, L'x') + L"?",
    };
    for (const std::wstring &name : names) {
        ASSERT_EQ(32767u, name.size());
        int result = Show(name, &shown);
        EXPECT_TRUE(result == SHOW_NO_FULL_NAME || result == SHOW_WILDCARD || result == SHOW_NOT_FOUND)
            << result;
    }
    // A command line far longer than a word may be: the word keeps its
    // first 32,767 units.
    EXPECT_EQ(L"<no window>", Press(L"list " + std::wstring(40000, L'w')));
    EXPECT_EQ(L"<no window>", Press(L"list \"" + std::wstring(40000, L' ') + L"\""));
}

TEST_F(HostileTest, NamesWithTheHostsSpecialCharactersAndOddUnits)
{
    MakeFile(L"descript.ion", "x.txt Description\r\n");
    const std::wstring names[] = {
        L"100%.txt", L"%%double.txt", L"%@descript[x.txt].txt", L"a]b.txt", L"[a.txt",
        L"caret^.txt", L"back`quote`.txt", L"\uff05wide.txt", L"\u00e9t\u00e9 \u4e2d\u6587.txt",
        L"emoji \U0001F600.txt", L"%_4ver.txt", L"semi;colon,comma.txt",
    };
    for (const std::wstring &name : names) {
        // "%@name[" opens a host function even between quotes, so that name
        // cannot be taken whole at the cursor (its word is "x.txt].txt").
        bool function = name.find(L"%@") != std::wstring::npos;
        std::wstring path = MakeFile(name, "x");
        std::wstring shown;
        WindowTexts window;
        EXPECT_EQ(0, Show(path, &shown, &window)) << Utf8(name);
        EXPECT_EQ(path, shown) << Utf8(name);
        // The host is asked for the name as data, never as its code.
        EXPECT_EQ(L"\u2014", window.Text(IDC_FIELD_DESCRIPTION)) << Utf8(name);
        // The hotkey on the quoted name.
        EXPECT_EQ(function ? L"<no window>" : path, Press(L"list \"" + path + L"\"")) << Utf8(name);
    }
    // A "%" the user typed doubled is found once undoubled; through /F too,
    // where the name is upper-cased (file names ignore case).
    std::wstring percent = Path(L"100%.txt");
    std::wstring shown;
    EXPECT_EQ(0, Show(Path(L"100%%.txt"), &shown));
    EXPECT_EQ(percent, shown);
    {
        WindowWatch watch;
        EXPECT_EQ(0, tirvalo((L"/f:\"" + Path(L"100%%.txt") + L"\"").c_str()));
        ASSERT_EQ(1u, watch.Windows().size());
        EXPECT_EQ(0, lstrcmpiW(percent.c_str(), watch.Windows()[0].Text(IDC_FIELD_FULL_NAME).c_str()));
    }
    // A host function around the name at the cursor (on its "]"): the word
    // is the name.
    std::wstring plain = MakeFile(L"x.txt", "x");
    std::wstring line = L"echo %@descript[" + plain + L"]";
    EXPECT_EQ(plain, Press(line, line.size() - 1));

    // Lone surrogates: a name Wine may refuse to create.  Whatever the file
    // system makes of it, the plug-in shows the file or refuses the name.
    for (const wchar_t *odd : {L"lone\xD800.txt", L"lone\xDC00.txt", L"\xDBFF"}) {
        std::wstring path = Path(odd);
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        bool created = file != INVALID_HANDLE_VALUE;
        if (created) CloseHandle(file);
        int result = Show(path, &shown);
        printf("hostile: a name with a lone surrogate %s created; ShowFileInfo gives %d\n",
               created ? "was" : "was not", result);
        EXPECT_EQ(created ? 0 : SHOW_NOT_FOUND, result);
    }
}

TEST_F(HostileTest, DevicesMissingSharesAndADirectoryThatCannotBeListed)
{
    for (const wchar_t *device : {L"NUL", L"CON", L"COM1", L"nul.txt", L"C:\\dir\\CON", L"\\\\.\\NUL",
                                  L"\\\\.\\COM1", L"CONIN$", L"\\\\nohost\\share\\x.txt",
                                  L"\\\\nohost\\share", L"\\\\?\\UNC\\nohost\\share\\x.txt"}) {
        ULONGLONG start = GetTickCount64();
        std::wstring shown;
        int result = Show(device, &shown);
        EXPECT_TRUE(result == SHOW_NOT_FOUND || result == SHOW_NO_FULL_NAME) << Utf8(device) << ": " << result;
        EXPECT_LT(GetTickCount64() - start, 5000u) << Utf8(device);
    }

    // Wine enforces no list rights (and these tests run as root), so the
    // directory's listing is refused through the search call itself.
    static int refusals;
    refusals = 0;
    typedef HANDLE(WINAPI * FindFirst)(const wchar_t *, FINDEX_INFO_LEVELS, void *, FINDEX_SEARCH_OPS, void *, DWORD);
    static FindFirst real;
    FindFirst refuseListing = [](const wchar_t *pattern, FINDEX_INFO_LEVELS level, void *entry,
                                 FINDEX_SEARCH_OPS search, void *filter, DWORD flags) -> HANDLE {
        size_t length = lstrlenW(pattern);
        if (length >= 2 && pattern[length - 1] == L'*' && pattern[length - 2] == L'\\') {
            refusals++;
            SetLastError(ERROR_ACCESS_DENIED);
            return INVALID_HANDLE_VALUE;
        }
        return real(pattern, level, entry, search, filter, flags);
    };
    std::wstring folder = MakeFolder(L"secret");
    std::wstring file = MakeFile(L"secret\\inside.txt", "x");
    real = (FindFirst)ReplaceImport("kernel32.dll", "FindFirstFileExW", (void *)refuseListing);
    ASSERT_NE(nullptr, real);
    std::wstring shown;
    WindowTexts window;
    EXPECT_EQ(0, Show(folder, &shown, &window));
    EXPECT_EQ(L"0 files, 0 subdirs", window.Text(IDC_FIELD_SIZE));
    EXPECT_EQ(0, Show(file, &shown));
    EXPECT_EQ(file, shown);
    ReplaceImport("kernel32.dll", "FindFirstFileExW", (void *)real);
    EXPECT_EQ(1, refusals);
}

TEST_F(HostileTest, ManyAndLongArgumentsThroughTheShell)
{
    std::wstring many;
    for (int i = 0; i < 130; i++) many += L" /c:" + std::to_wstring(i % 2);
    ShellRun run = RunQuietShell({L"-c", L"tirvalo" + many});
    EXPECT_EQ(0, run.status);
    EXPECT_EQ("Tirvalo hotkey is Ctrl-Q.\nSmart timestamps ON, subdir counts ON\n", run.out);  // slot 127: /C:1

    std::wstring longKey(5000, L'k');
    run = RunQuietShell({L"-c", L"tirvalo " + longKey});
    EXPECT_EQ(1, run.status);
    EXPECT_EQ("Tirvalo plugin: Unknown key name \"" + std::string(2048, 'K') + "\"\r\n", run.err);

    run = RunQuietShell({L"-c", L"tirvalo /f:" + std::wstring(5000, L'f')});
    EXPECT_EQ(2, run.status);   // a name of 2,045 units: not found
    EXPECT_EQ("", run.out + run.err);
}

// Only the size of a value counts, never its type: up to 4 bytes replace
// that many low-order bytes of 0xFFFF0000, more make the value unreadable.
TEST_F(HostileTest, SettingsOfEveryRegistryTypeAndEverySizeUpToEightBytes)
{
    RegistrySandbox registry;
    const DWORD types[] = {REG_NONE, REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD,
                           REG_DWORD_BIG_ENDIAN, REG_LINK, REG_MULTI_SZ, REG_RESOURCE_LIST,
                           REG_FULL_RESOURCE_DESCRIPTOR, REG_RESOURCE_REQUIREMENTS_LIST, REG_QWORD};
    const unsigned char hotkey[8] = {0x17, 0, 0, 0, 9, 9, 9, 9};   // 0x17: Ctrl-W
    const unsigned char value[8] = {2, 0, 0, 0, 9, 9, 9, 9};
    RegistrySandbox::PutAll(HKEY_LOCAL_MACHINE, 0x1006B, 0, 0);
    // What the rule gives for size bytes of data over 0xFFFF0000.
    auto work = [](const unsigned char *data, DWORD size) {
        unsigned int result = 0xFFFF0000u;
        if (size <= 4) memcpy(&result, data, size);
        return (int)result;
    };
    int cases = 0;
    for (DWORD type : types) {
        for (DWORD size = 0; size <= 8; size++) {
            // The hotkey of this type and size, the other two proper.
            PutExact(HKEY_CURRENT_USER, HOTKEY_VALUE, type, hotkey, size);
            RegistrySandbox::PutNumber(HKEY_CURRENT_USER, SMART_TIMES_VALUE, 0);
            RegistrySandbox::PutNumber(HKEY_CURRENT_USER, SUBDIR_COUNTS_VALUE, 0);
            Settings = {0x10017, 2, 1};
            int result = LoadSettings(0);
            if (size > 4) {
                EXPECT_EQ(0, result) << type << "/" << size;   // the machine's key
                EXPECT_EQ(0x1006B, Settings.Hotkey) << type << "/" << size;
            } else if (size == 4) {
                EXPECT_EQ(0, result) << type << "/" << size;
                EXPECT_EQ(0x17, Settings.Hotkey) << type << "/" << size;
            } else {
                EXPECT_EQ(SETTINGS_INVALID_HOTKEY, result) << type << "/" << size << ": " << work(hotkey, size);
            }
            // SmartTimes and SubdirCounts of this type and size.
            RegistrySandbox::PutNumber(HKEY_CURRENT_USER, HOTKEY_VALUE, 0x17);
            PutExact(HKEY_CURRENT_USER, SMART_TIMES_VALUE, type, value, size);
            PutExact(HKEY_CURRENT_USER, SUBDIR_COUNTS_VALUE, type, value, size);
            EXPECT_EQ(0, LoadSettings(0));
            int smart = work(value, size);
            EXPECT_EQ((unsigned)smart <= 2 ? smart : 1, Settings.SmartTimes) << type << "/" << size;
            EXPECT_EQ(work(value, size) != 0 ? 1 : 0, Settings.SubdirCounts) << type << "/" << size;
            cases++;
        }
    }
    EXPECT_EQ(12 * 9, cases);
}

// Class, friendly-name and command values that fill the 8,192-byte buffer
// exactly with no terminator count as absent; one unit shorter, they are
// kept; longer, the query fails and they are absent too.
TEST_F(HostileTest, FileTypeValuesThatFillTheirBufferWithoutATerminator)
{
    RegistrySandbox registry;
    auto put = [](HKEY root, const std::wstring &path, const std::wstring &text) {
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, &key, nullptr));
        RegSetValueExW(key, nullptr, 0, REG_SZ, (const BYTE *)text.data(),
                       (DWORD)(text.size() * sizeof(wchar_t)));   // no terminator
        RegCloseKey(key);
    };
    std::wstring type(FILE_TYPE_CAPACITY, L'\0'), command(FILE_TYPE_CAPACITY, L'\0');
    for (size_t units : {4095u, 4096u, 4097u}) {
        bool kept = units < 4096;
        std::wstring big(units, L'v');
        // The class name itself.
        put(HKEY_CURRENT_USER, L"Software\\Classes\\.tvb", big);
        RegistrySandbox::SetDefault(HKEY_CLASSES_ROOT, L".tvb", L"rootclass");
        FileTypeSource source = 99;
        EXPECT_EQ(0, GetFileTypeInfo(Path(L"a.tvb").c_str(), &type[0], &command[0], &source));
        EXPECT_EQ(kept ? SourceUserClasses : SourceClassesRoot, source) << units;
        if (!kept) EXPECT_STREQ(L"rootclass", type.c_str()) << units;
        // The friendly name and the command of a class.
        RegistrySandbox::SetDefault(HKEY_CURRENT_USER, L"Software\\Classes\\.tvc", L"tvcfile");
        put(HKEY_CURRENT_USER, L"Software\\Classes\\tvcfile", big);
        put(HKEY_CURRENT_USER, L"Software\\Classes\\tvcfile\\shell\\open\\command", big);
        EXPECT_EQ(0, GetFileTypeInfo(Path(L"a.tvc").c_str(), &type[0], &command[0], &source));
        EXPECT_EQ(kept ? L"tvcfile  (" + big + L")" : std::wstring(L"tvcfile"), type.c_str()) << units;
        EXPECT_EQ(kept ? big : std::wstring(L"\u2014"), command.c_str()) << units;
    }
}

// Held by another process without sharing: every field, the owner too,
// which needs no right to the data.
TEST_F(HostileTest, AFileLockedByAnotherProcess)
{
    std::wstring file = MakeFile(L"locked.txt", "x");
    LockedFile lock(file);
    ASSERT_TRUE(lock.Locked());
    std::wstring shown;
    WindowTexts window;
    EXPECT_EQ(0, Show(file, &shown, &window));
    EXPECT_EQ(file, shown);
    EXPECT_NE(std::wstring::npos, window.Text(IDC_FIELD_OWNER).find(L'\\'));
    EXPECT_EQ(L"1 bytes", window.Text(IDC_FIELD_SIZE));
}

// The directory is made by the tests' setup from Linux (tests/make-entries.sh):
// made through the platform, each new name would cost a search of all the
// names before it.
TEST_F(HostileTest, ADirectoryOfAHundredThousandEntries)
{
    std::wstring bin = TestDirectory();
    std::wstring folder = bin.substr(0, bin.find_last_of(L'\\')) + L"\\many-entries";
    ULONGLONG start = GetTickCount64();
    std::wstring shown;
    WindowTexts window;
    EXPECT_EQ(0, Show(folder, &shown, &window));
    printf("hostile: the window of 100,000 entries in %llu ms\n", GetTickCount64() - start);
    EXPECT_EQ(folder, shown);
    EXPECT_EQ(L"100,000 files, 1 subdir", window.Text(IDC_FIELD_SIZE));
}

}  // namespace
