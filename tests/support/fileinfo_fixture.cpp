// Fixtures for the file-information tests.  See fileinfo_fixture.h.
#include "fileinfo_fixture.h"

namespace {
const wchar_t ScratchKey[] = L"Software\\TirvaloTestScratch";
const HKEY Redirected[3] = {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT};
}  // namespace

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

ScratchRegistry::ScratchRegistry()
{
    for (int i = 0; i < 3; i++) {
        std::wstring path = std::wstring(ScratchKey) + L"\\" + std::to_wstring(i);
        RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &keys_[i], nullptr);
    }
    for (int i = 0; i < 3; i++) RegOverridePredefKey(Redirected[i], keys_[i]);
}

ScratchRegistry::~ScratchRegistry()
{
    for (int i = 0; i < 3; i++) {
        RegOverridePredefKey(Redirected[i], nullptr);
        RegCloseKey(keys_[i]);
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, ScratchKey);
    RegDeleteKeyW(HKEY_CURRENT_USER, ScratchKey);
}

void ScratchRegistry::SetDefault(HKEY root, const std::wstring &path, const wchar_t *value)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &key, nullptr));
    if (value != nullptr) {
        RegSetValueExW(key, nullptr, 0, REG_SZ, (const BYTE *)value,
                       (DWORD)(wcslen(value) + 1) * sizeof(wchar_t));
    }
    RegCloseKey(key);
}
