// Fixtures for the tests of hotkeys, settings, loading and the command: the
// process-wide values those routines share (Settings, the host's version
// and the key table in use) are saved before each test and put back after
// it, and the registry can be redirected into scratch keys.
#ifndef TIRVALO_TESTS_CONSOLE_STATE_H
#define TIRVALO_TESTS_CONSOLE_STATE_H

#include <windows.h>
#include <sddl.h>

#include <string>

#include "frame/plugin.h"
#include "host_state.h"
#include "settings/settings.h"

class ConsoleTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        savedSettings_ = Settings;
        savedMajor_ = HostMajorVersion;
        savedExtended_ = UseExtendedKeys;
    }
    void TearDown() override
    {
        Settings = savedSettings_;
        HostMajorVersion = savedMajor_;
        UseExtendedKeys = savedExtended_;
        HostTest::TearDown();
    }

    // Selects the key table: the extended one, or the classic one.
    static void UseTable(bool extended) { UseExtendedKeys = extended ? 1 : 0; }
    static void SetSettings(int hotkey, int smartTimes, int subdirCounts)
    {
        Settings.Hotkey = hotkey;
        Settings.SmartTimes = smartTimes;
        Settings.SubdirCounts = subdirCounts;
    }
    static void ExpectSettings(int hotkey, int smartTimes, int subdirCounts)
    {
        EXPECT_EQ(hotkey, Settings.Hotkey);
        EXPECT_EQ(smartTimes, Settings.SmartTimes);
        EXPECT_EQ(subdirCounts, Settings.SubdirCounts);
    }

private:
    SettingsRecord savedSettings_ = {};
    int savedMajor_ = 0;
    int savedExtended_ = 0;
};

// Redirects this process's HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE into two
// empty scratch keys for its lifetime, and deletes them afterwards.
class RegistrySandbox {
public:
    RegistrySandbox()
    {
        scratch_ = L"Software\\TirvaloTests\\" + std::to_wstring(GetCurrentProcessId());
        RegDeleteTreeW(HKEY_CURRENT_USER, scratch_.c_str());
        RegCreateKeyExW(HKEY_CURRENT_USER, (scratch_ + L"\\User").c_str(), 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &user_, nullptr);
        RegCreateKeyExW(HKEY_CURRENT_USER, (scratch_ + L"\\Machine").c_str(), 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &machine_, nullptr);
        RegOverridePredefKey(HKEY_CURRENT_USER, user_);
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine_);
    }
    ~RegistrySandbox()
    {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
        RegCloseKey(user_);
        RegCloseKey(machine_);
        RegDeleteTreeW(HKEY_CURRENT_USER, scratch_.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\TirvaloTests");   // when no other test left one
    }
    RegistrySandbox(const RegistrySandbox &) = delete;
    RegistrySandbox &operator=(const RegistrySandbox &) = delete;

    // Writes a value into root's settings key, creating the key.
    static void Put(HKEY root, const wchar_t *name, DWORD type, const void *data, DWORD size)
    {
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, SettingsKeyPath, 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &key, nullptr));
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, name, 0, type, (const BYTE *)data, size));
        RegCloseKey(key);
    }
    static void PutNumber(HKEY root, const wchar_t *name, DWORD value)
    {
        Put(root, name, REG_DWORD, &value, sizeof value);
    }
    static void PutAll(HKEY root, DWORD hotkey, DWORD smartTimes, DWORD subdirCounts)
    {
        PutNumber(root, L"Hotkey", hotkey);
        PutNumber(root, L"SmartTimes", smartTimes);
        PutNumber(root, L"SubdirCounts", subdirCounts);
    }
    // Makes root's settings key readable only, by its security descriptor:
    // Wine checks it when the key is opened.
    static void DenyWriting(HKEY root)
    {
        PSECURITY_DESCRIPTOR readOnly = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
            L"D:P(A;;KR;;;WD)", SDDL_REVISION_1, &readOnly, nullptr));
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS,
                  RegOpenKeyExW(root, SettingsKeyPath, 0, KEY_READ | WRITE_DAC, &key));
        EXPECT_EQ(ERROR_SUCCESS, RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, readOnly));
        RegCloseKey(key);
        LocalFree(readOnly);
    }

private:
    std::wstring scratch_;
    HKEY user_ = nullptr;
    HKEY machine_ = nullptr;
};

#endif
