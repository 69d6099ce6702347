// Fixtures for the file-information tests.  See fileinfo_fixture.h.
#include "fileinfo_fixture.h"

void FileInfoTest::SetUp()
{
    HostTest::SetUp();
    g_instance = (HINSTANCE)GetModuleHandleW(nullptr);   // template 101 is in this program
    savedSettings_ = Settings;
    folder_ = MakeTempDirectory(L"tirvalo-fileinfo");
}

void FileInfoTest::TearDown()
{
    RemoveTree(folder_);
    Settings = savedSettings_;
    HostTest::TearDown();
}

std::wstring FileInfoTest::MakeFile(const std::wstring &name, const std::string &bytes,
                                    DWORD attributes)
{
    std::wstring path = Path(name);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, file) << "cannot create " << std::string(name.begin(), name.end());
    DWORD written = 0;
    if (!bytes.empty()) WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
    CloseHandle(file);
    if (attributes != 0) SetFileAttributesW(path.c_str(), attributes);
    return path;
}

std::wstring FileInfoTest::MakeFolder(const std::wstring &name)
{
    std::wstring path = Path(name);
    CreateDirectoryW(path.c_str(), nullptr);
    return path;
}
