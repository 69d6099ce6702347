// The field formatters on real files and folders and the stand-in host's
// expander: grouping limits, sizes at every unit threshold, directory
// contents, attribute words, timestamps in each style, owners, descriptions.
#include <windows.h>

#include <string>
#include <thread>

#include "fileinfo/formatters.h"
#include "tests/support/fileinfo_fixture.h"
#include "tests/support/locked_file.h"

namespace {

using FormattersTest = FileInfoTest;

const unsigned long long July15Noon = 134285904000000000ULL;     // 2026-07-15 12:00:00 UTC
const unsigned long long January15Noon = 134129520000000000ULL;  // 2026-01-15 12:00:00 UTC

// Wine names every owner as a user of this computer; the well-known
// groups, which have no domain, and failed lookups come from here.
const wchar_t *FakeAccount = nullptr;   // null: the lookup fails, with this error
DWORD FakeError = ERROR_TRUSTED_DOMAIN_FAILURE;
std::wstring BusyFile;                  // when set, the lookup takes two seconds
bool OpenedMeanwhile = false;           // ... in which another thread opened it to write

BOOL WINAPI FakeLookupAccountSid(const wchar_t *, PSID, wchar_t *name, DWORD *nameSize,
                                 wchar_t *domain, DWORD *domainSize, SID_NAME_USE *use)
{
    if (!BusyFile.empty()) {
        std::thread other([] {
            HANDLE file = CreateFileW(BusyFile.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ |
                                      FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
            OpenedMeanwhile = file != INVALID_HANDLE_VALUE;
            if (OpenedMeanwhile) CloseHandle(file);
        });
        Sleep(2000);
        other.join();
    }
    if (FakeAccount == nullptr) {
        SetLastError(FakeError);
        return FALSE;
    }
    lstrcpynW(name, FakeAccount, *nameSize);
    domain[0] = 0;
    *use = SidTypeWellKnownGroup;
    return TRUE;
}

// GroupDigits on text in a buffer large enough for it; the buffer's text
// afterwards in *after.
int Group(const std::wstring &text, std::wstring *after)
{
    std::wstring buffer(text.size() + FIELD_CAPACITY, L'\0');
    buffer.replace(0, text.size(), text);
    int result = GroupDigits(&buffer[0]);
    *after = buffer.c_str();
    return result;
}

TEST_F(FormattersTest, GroupDigitsAndItsLimits)
{
    std::wstring after;
    EXPECT_EQ(0, Group(L"1234567", &after));
    EXPECT_EQ(L"1,234,567", after);
    EXPECT_EQ(GROUP_NULL_TEXT, GroupDigits(nullptr));
    // 8182 units still go to the host; its answer is too long to copy.
    EXPECT_EQ(GROUP_RESULT_TOO_LONG, Group(std::wstring(8182, L'x'), &after));
    EXPECT_EQ(std::wstring(8182, L'x'), after);
    EXPECT_EQ(GROUP_TEXT_TOO_LONG, Group(std::wstring(8183, L'x'), &after));
    // An answer of 1023 units is copied, one of 1024 is not.
    EXPECT_EQ(0, Group(L"1" + std::wstring(1022, L'x'), &after));
    EXPECT_EQ(GROUP_RESULT_TOO_LONG, Group(L"1" + std::wstring(1023, L'x'), &after));
    // A failed expansion leaves the text as it was.
    EXPECT_EQ(GROUP_EXPANSION_FAILED, Group(L"1]%@nosuchfunction[", &after));
    EXPECT_EQ(L"1]%@nosuchfunction[", after);
}

TEST_F(FormattersTest, SizesAtEveryUnitThreshold)
{
    const struct { unsigned long long size; const wchar_t *text; } cases[] = {
        {0, L"0 bytes"},
        {1023, L"1,023 bytes"},
        {1024, L"1,024 bytes  (1.00 KB)"},
        {1536, L"1,536 bytes  (1.50 KB)"},
        {1152, L"1,152 bytes  (1.12 KB)"},   // exactly 1.125: to the even hundredth
        {1048575, L"1,048,575 bytes  (1,024.00 KB)"},
        {1048576, L"1,048,576 bytes  (1.00 MB)"},
        {1073741823, L"1,073,741,823 bytes  (1,024.00 MB)"},
        {1073741824, L"1,073,741,824 bytes  (1.00 GB)"},
        {5368709120ULL, L"5,368,709,120 bytes  (5.00 GB)"},
        {1ULL << 40, L"1,099,511,627,776 bytes  (1,024.00 GB)"},
        {~0ULL, L"18,446,744,073,709,551,615 bytes  (17,179,869,184.00 GB)"},
    };
    for (const auto &c : cases) {
        wchar_t out[FIELD_CAPACITY] = L"stale";
        EXPECT_EQ(0, FormatSize(out, c.size));
        EXPECT_STREQ(c.text, out) << c.size;
    }
}

TEST_F(FormattersTest, ContentsCountEntriesButNeverDotEntries)
{
    wchar_t out[FIELD_CAPACITY];
    FormatContents(out, MakeFolder(L"empty").c_str());
    EXPECT_STREQ(L"0 files, 0 subdirs", out);
    FormatContents(out, Path(L"missing").c_str());
    EXPECT_STREQ(L"0 files, 0 subdirs", out);

    MakeFolder(L"one");
    MakeFile(L"one\\a.txt");
    MakeFolder(L"one\\sub");
    MakeFile(L"one\\sub\\not counted.txt");
    FormatContents(out, Path(L"one").c_str());
    EXPECT_STREQ(L"1 file, 1 subdir", out);

    MakeFolder(L"many");
    for (int i = 0; i < 1001; i++) MakeFile(L"many\\f" + std::to_wstring(i));
    MakeFile(L"many\\hidden", "", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    MakeFolder(L"many\\d1");
    MakeFolder(L"many\\d2");
    SetFileAttributesW(Path(L"many\\d2").c_str(), FILE_ATTRIBUTE_HIDDEN);
    FormatContents(out, Path(L"many").c_str());
    EXPECT_STREQ(L"1,002 files, 2 subdirs", out);
}

// A listing that fails part way counts as one that cannot be had; its end
// (no more files) is no failure.
int NextCalls = 0;
DWORD NextFailure = 0;   // the error of the third call, which fails
typedef BOOL(WINAPI *FindNextFunction)(HANDLE, WIN32_FIND_DATAW *);
FindNextFunction RealFindNext = nullptr;

BOOL WINAPI FailingFindNext(HANDLE search, WIN32_FIND_DATAW *entry)
{
    if (++NextCalls < 3) return RealFindNext(search, entry);
    SetLastError(NextFailure);
    return FALSE;
}

TEST_F(FormattersTest, ContentsOfAListingCutShortAreZero)
{
    MakeFolder(L"cut");
    MakeFile(L"cut\\a.txt");
    MakeFile(L"cut\\b.txt");
    RealFindNext = (FindNextFunction)ReplaceImport("kernel32.dll", "FindNextFileW", (void *)FailingFindNext);
    ASSERT_NE(nullptr, RealFindNext);
    const struct { DWORD error; const wchar_t *text; } cases[] = {
        {ERROR_NETNAME_DELETED, L"0 files, 0 subdirs"}, {ERROR_ACCESS_DENIED, L"0 files, 0 subdirs"},
        {ERROR_NO_MORE_FILES, L"1 file, 0 subdirs"},   // ".", ".." and one file were listed
    };
    for (const auto &c : cases) {
        wchar_t out[FIELD_CAPACITY];
        NextCalls = 0;
        NextFailure = c.error;
        FormatContents(out, Path(L"cut").c_str());
        EXPECT_STREQ(c.text, out) << c.error;
    }
    ReplaceImport("kernel32.dll", "FindNextFileW", (void *)RealFindNext);
}

TEST_F(FormattersTest, AttributeWordsInTheirOrder)
{
    const struct { unsigned int bits; const wchar_t *text; } cases[] = {
        {0x21, L"ReadOnly Archive "}, {0x30, L"Archive Dir "}, {0, L"- none -"},
        {0x80, L"- none -"},          {0x40, L""},             {0xC0, L""},
        {0x7FB7, L"ReadOnly Hidden System Archive Dir Encrypt Compress noIndex Junction "
                 L"Offline Sparse Temp "},
    };
    for (const auto &c : cases) {
        wchar_t text[FIELD_CAPACITY] = L"";
        FormatAttributes(text, c.bits);
        EXPECT_STREQ(c.text, text) << std::hex << c.bits;
    }
}

TEST_F(FormattersTest, TimestampsInEachStyle)
{
    wchar_t text[FIELD_CAPACITY];
    Settings.SmartTimes = 2;
    FormatTimestamp(text, July15Noon, 0, 1);
    EXPECT_STREQ(L"2026-07-15  12:00:00 UTC", text);
    FormatTimestamp(text, July15Noon, 1, 0);
    EXPECT_STREQ(L"2026-07-15 UTC", text);

    // Central European time: +2 hours in summer, +1 in winter.
    for (int smartTimes : {0, 1}) {
        Settings.SmartTimes = smartTimes;
        FormatTimestamp(text, July15Noon, 0, 1);
        EXPECT_STREQ(L"Wednesday, July 15, 2026  2:00:00 PM", text);
        FormatTimestamp(text, January15Noon, 0, 1);
        EXPECT_STREQ(L"Thursday, January 15, 2026  1:00:00 PM", text);
        FormatTimestamp(text, July15Noon, 1, 1);
        EXPECT_STREQ(L"Wednesday, July 15, 2026", text);
    }
    // The present offset applies whatever the date.
    TIME_ZONE_INFORMATION zone;
    bool summerNow = GetTimeZoneInformation(&zone) == TIME_ZONE_ID_DAYLIGHT;
    FormatTimestamp(text, January15Noon, 0, 0);
    EXPECT_STREQ(summerNow ? L"Thursday, January 15, 2026  2:00:00 PM"
                           : L"Thursday, January 15, 2026  1:00:00 PM", text);

    // A time that cannot be converted leaves the field empty in every style.
    for (int smartTimes : {1, 2}) {
        Settings.SmartTimes = smartTimes;
        for (int perDate : {0, 1}) {
            wcscpy(text, L"stale");
            FormatTimestamp(text, ~0ULL, 0, perDate);
            EXPECT_STREQ(L"", text) << smartTimes << perDate;
        }
    }
}

// An open that refuses every right to the data, as for a file whose data
// the user may not read.
typedef HANDLE(WINAPI *CreateFileFunction)(const wchar_t *, DWORD, DWORD, SECURITY_ATTRIBUTES *, DWORD,
                                           DWORD, HANDLE);
CreateFileFunction RealCreateFile = nullptr;
HANDLE WINAPI DataDeniedCreateFile(const wchar_t *name, DWORD access, DWORD share, SECURITY_ATTRIBUTES *security,
                                   DWORD disposition, DWORD flags, HANDLE model)
{
    const DWORD data = GENERIC_READ | GENERIC_WRITE | GENERIC_ALL | FILE_READ_DATA | FILE_WRITE_DATA;
    if (access & data) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    return RealCreateFile(name, access, share, security, disposition, flags, model);
}

TEST_F(FormattersTest, OwnerIsDomainAndNameUnlessTheFileCannotBeOpened)
{
    wchar_t computer[256], user[256];
    DWORD computerSize = 256, userSize = 256;
    GetComputerNameW(computer, &computerSize);
    GetUserNameW(user, &userSize);
    const std::wstring expected = std::wstring(computer) + L"\\" + user;

    std::wstring file = MakeFile(L"owned.txt", "x");
    wchar_t out[FIELD_CAPACITY] = L"stale";
    EXPECT_EQ(0, GetOwnerName(out, file.c_str()));
    EXPECT_EQ(expected, out);
    EXPECT_EQ(0, GetOwnerName(out, folder_.c_str()));
    EXPECT_EQ(expected, out);

    void *real = ReplaceImport("advapi32.dll", "LookupAccountSidW", (void *)FakeLookupAccountSid);
    ASSERT_NE(nullptr, real);
    FakeAccount = L"Administrators";
    EXPECT_EQ(0, GetOwnerName(out, file.c_str()));
    EXPECT_STREQ(L"Administrators", out);
    // A lookup that waits for a domain controller out of reach keeps
    // nobody from writing, renaming or deleting the file meanwhile.
    BusyFile = file;
    wcscpy(out, L"stale");
    EXPECT_EQ(0, GetOwnerName(out, file.c_str()));
    EXPECT_TRUE(OpenedMeanwhile);
    EXPECT_STREQ(L"Administrators", out);
    BusyFile.clear();
    FakeAccount = nullptr;
    EXPECT_EQ(0, GetOwnerName(out, file.c_str()));
    EXPECT_STREQ(L"Administrators", out);   // no name found: left as it was
    FakeError = ERROR_NONE_MAPPED;              // no account of that identifier
    EXPECT_EQ(0, GetOwnerName(out, file.c_str()));
    EXPECT_EQ(0u, std::wstring(out).find(L"S-1-5-")) << out;
    ReplaceImport("advapi32.dll", "LookupAccountSidW", real);

    EXPECT_EQ(OWNER_NO_PATH, GetOwnerName(out, nullptr));
    EXPECT_EQ(OWNER_NO_PATH, GetOwnerName(out, L""));
    wcscpy(out, L"stale");
    EXPECT_EQ(OWNER_NOT_OPENED, GetOwnerName(out, Path(L"missing").c_str()));
    EXPECT_STREQ(L"stale", out);

    // A file in use shows its owner: open for writing, with or without
    // sharing, here or in another process; so does one whose data the
    // user may not read (a substituted open refuses it).
    auto showsOwner = [&](const std::wstring &path, const char *what) {
        wcscpy(out, L"stale");
        EXPECT_EQ(0, GetOwnerName(out, path.c_str())) << what;
        EXPECT_EQ(expected, out) << what;
    };
    for (DWORD share : {0ul, (DWORD)FILE_SHARE_READ}) {
        HANDLE other = CreateFileW(file.c_str(), GENERIC_WRITE, share, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, other);
        showsOwner(file, share == 0 ? "written, unshared" : "written, shared");
        CloseHandle(other);
    }
    LockedFile locked(file);
    ASSERT_TRUE(locked.Locked());
    showsOwner(file, "held by another process");
    RealCreateFile = (CreateFileFunction)ReplaceImport("kernel32.dll", "CreateFileW", (void *)DataDeniedCreateFile);
    ASSERT_NE(nullptr, RealCreateFile);
    showsOwner(folder_, "data denied");
    ReplaceImport("kernel32.dll", "CreateFileW", (void *)RealCreateFile);
}

TEST_F(FormattersTest, DescriptionsComeFromTheHostWithTheNameAsData)
{
    MakeFile(L"descript.ion", "readme.txt Read me first\r\n"
                              "50%off.txt Half price\r\n"
                              "%_4ver.txt Version notes\r\n"
                              "a]b.txt Never asked\r\n"
                              "long.txt " + std::string(9000, 'd') + "\r\n");
    const struct { const wchar_t *name, *description; } cases[] = {
        {L"readme.txt", L"Read me first"}, {L"50%off.txt", L"Half price"},
        {L"%_4ver.txt", L"Version notes"}, {L"plain.txt", L"\u2014"},
        {L"a]b.txt", L"\u2014"},           {L"long.txt", L"\u2014"},   // the host cannot answer
    };
    for (const auto &c : cases) {
        std::wstring path = MakeFile(c.name, "x");
        wchar_t out[DESCRIPTION_CAPACITY] = L"stale";
        EXPECT_EQ(0, GetDescription(path.c_str(), out)) << c.name;
        EXPECT_STREQ(c.description, out) << c.name;
    }
    wchar_t out[DESCRIPTION_CAPACITY] = L"stale";
    EXPECT_EQ(DESCRIPTION_NULL_ARGUMENT, GetDescription(nullptr, out));
    EXPECT_EQ(DESCRIPTION_NULL_ARGUMENT, GetDescription(folder_.c_str(), nullptr));
    EXPECT_EQ(DESCRIPTION_NO_FILE, GetDescription(L"", out));
    EXPECT_EQ(DESCRIPTION_NO_FILE, GetDescription(Path(L"missing.txt").c_str(), out));
    EXPECT_STREQ(L"stale", out);
}

}  // namespace
