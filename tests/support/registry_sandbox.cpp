// The registry for the tests.  See registry_sandbox.h.
#include "registry_sandbox.h"

#include <gtest/gtest.h>
#include <sddl.h>

const wchar_t StoredSettingsKey[] = L"Software\\VelmPlugins\\Tirvalo";
const wchar_t *const StoredSettingsValues[3] = {L"Hotkey", L"SmartTimes", L"SubdirCounts"};

namespace {
const wchar_t ScratchParent[] = L"Software\\TirvaloTests";
const HKEY Redirected[3] = {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT};
}  // namespace

RegistrySandbox::RegistrySandbox()
{
    scratch_ = std::wstring(ScratchParent) + L"\\" + std::to_wstring(GetCurrentProcessId());
    RegDeleteTreeW(HKEY_CURRENT_USER, scratch_.c_str());   // what an earlier process of this id left
    for (int i = 0; i < 3; i++) {
        RegCreateKeyExW(HKEY_CURRENT_USER, (scratch_ + L"\\" + std::to_wstring(i)).c_str(), 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &keys_[i], nullptr);
    }
    for (int i = 0; i < 3; i++) RegOverridePredefKey(Redirected[i], keys_[i]);
}

RegistrySandbox::~RegistrySandbox()
{
    for (int i = 0; i < 3; i++) {
        RegOverridePredefKey(Redirected[i], nullptr);
        RegCloseKey(keys_[i]);
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, scratch_.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, scratch_.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, ScratchParent);   // when no other process left one
}

void RegistrySandbox::SetDefault(HKEY root, const std::wstring &path, const wchar_t *value)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                             nullptr));
    if (value != nullptr) {
        RegSetValueExW(key, nullptr, 0, REG_SZ, (const BYTE *)value, (DWORD)(wcslen(value) + 1) * sizeof(wchar_t));
    }
    RegCloseKey(key);
}

void RegistrySandbox::Put(HKEY root, SettingsValue name, DWORD type, const void *data, DWORD size)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExW(root, StoredSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, StoredSettingsValues[name], 0, type, (const BYTE *)data, size));
    RegCloseKey(key);
}

void RegistrySandbox::PutNumber(HKEY root, SettingsValue name, DWORD value)
{
    Put(root, name, REG_DWORD, &value, sizeof value);
}

void RegistrySandbox::PutAll(HKEY root, DWORD hotkey, DWORD smartTimes, DWORD subdirCounts)
{
    PutNumber(root, HOTKEY_VALUE, hotkey);
    PutNumber(root, SMART_TIMES_VALUE, smartTimes);
    PutNumber(root, SUBDIR_COUNTS_VALUE, subdirCounts);
}

void RegistrySandbox::DeleteSettings(HKEY root)
{
    RegDeleteTreeW(root, StoredSettingsKey);
}

void RegistrySandbox::DenyWriting(HKEY root)
{
    PSECURITY_DESCRIPTOR readOnly = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KR;;;WD)", SDDL_REVISION_1,
                                                                     &readOnly, nullptr));
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(root, StoredSettingsKey, 0, KEY_READ | WRITE_DAC, &key));
    EXPECT_EQ(ERROR_SUCCESS, RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, readOnly));
    RegCloseKey(key);
    LocalFree(readOnly);
}

long long RegistrySandbox::Saved(SettingsValue name)
{
    DWORD value = 0, size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, StoredSettingsKey, StoredSettingsValues[name], RRF_RT_REG_DWORD, nullptr,
                     &value, &size) != ERROR_SUCCESS) {
        return -1;
    }
    return value;
}
