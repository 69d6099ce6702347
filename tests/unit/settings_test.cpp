// The options in the registry: which key they come from, how values of
// other sizes and ranges load, the messages of each failure, and saving,
// in the registry sandbox.
#include <windows.h>

#include "tests/support/console_state.h"
#include "tests/support/import_table.h"

namespace {

class SettingsTest : public ConsoleTest {
protected:
    void SetUp() override
    {
        ConsoleTest::SetUp();
        UseTable(true);
        SetSettings(0x10017, 2, 0);   // Alt-I, UTC, no counts: unlike the defaults
    }

    RegistrySandbox registry_;
};

// Users' saved options stay where they are: the key and the value names
// are the ones the tests write out themselves.
TEST_F(SettingsTest, TheRegistryNamesAreTheOnesUsersHaveSavedUnder)
{
    EXPECT_STREQ(StoredSettingsKey, SettingsKeyPath);
    ASSERT_EQ(3, SETTINGS_VALUE_COUNT);
    for (int i = 0; i < SETTINGS_VALUE_COUNT; i++) EXPECT_STREQ(StoredSettingsValues[i], SettingsValueNames[i]);
}

TEST_F(SettingsTest, NoKeyAtAllFailsQuietlyOrWithAMessage)
{
    EXPECT_EQ(SETTINGS_NOT_FOUND, LoadSettings(0));
    EXPECT_EQ(L"", Err());
    EXPECT_EQ(SETTINGS_NOT_FOUND, LoadSettings(1));
    EXPECT_EQ(L"Tirvalo plugin: Error reading from registry\r\n", Err());
    EXPECT_EQ(L"", Out());
    ExpectSettings(0x10017, 2, 0);
}

TEST_F(SettingsTest, AllThreeComeFromTheMachineWhenTheUserHasNoHotkey)
{
    RegistrySandbox::PutNumber(HKEY_CURRENT_USER, SMART_TIMES_VALUE, 0);
    RegistrySandbox::PutAll(HKEY_LOCAL_MACHINE, 0x1006B, 0, 1);
    EXPECT_EQ(0, LoadSettings(1));
    ExpectSettings(0x1006B, 0, 1);
    EXPECT_EQ(L"", Err());
}

TEST_F(SettingsTest, AllThreeComeFromTheUserWhenItHasAHotkey)
{
    RegistrySandbox::PutNumber(HKEY_CURRENT_USER, HOTKEY_VALUE, 0x17);
    RegistrySandbox::PutAll(HKEY_LOCAL_MACHINE, 0x1006B, 0, 0);
    EXPECT_EQ(0, LoadSettings(1));
    ExpectSettings(0x17, 1, 1);   // the user's two missing values load as 1
}

TEST_F(SettingsTest, AnInvalidUserHotkeyIsFinal)
{
    RegistrySandbox::PutAll(HKEY_LOCAL_MACHINE, 0x1006B, 0, 0);
    for (DWORD hotkey : {0u, 0xFFFFFFFFu, 0xFFFFFFFEu, 0x80000000u, 0x1Cu, 0x12345u}) {
        KorrashClearCaptured();
        RegistrySandbox::PutAll(HKEY_CURRENT_USER, hotkey, 0, 0);
        EXPECT_EQ(SETTINGS_INVALID_HOTKEY, LoadSettings(0)) << hotkey;
        EXPECT_EQ(L"", Err());
        EXPECT_EQ(SETTINGS_INVALID_HOTKEY, LoadSettings(1)) << hotkey;
        EXPECT_EQ(L"Tirvalo plugin: Invalid hotkey value in registry\r\n", Err());
        ExpectSettings(0x10017, 2, 0);
    }
}

TEST_F(SettingsTest, ValuesAreClampedIntoTheirRanges)
{
    struct {
        DWORD smart, subdir;
        int loadedSmart, loadedSubdir;
    } cases[] = {{0, 0, 0, 0}, {1, 1, 1, 1}, {2, 5, 2, 1}, {3, 0xFFFFFFFF, 1, 1},
                 {0xFFFFFFFF, 0x80000000, 1, 1}, {0x102, 0x100, 1, 1}};
    for (const auto &c : cases) {
        RegistrySandbox::PutAll(HKEY_CURRENT_USER, 17, c.smart, c.subdir);
        EXPECT_EQ(0, LoadSettings(1));
        ExpectSettings(17, c.loadedSmart, c.loadedSubdir);
    }
}

TEST_F(SettingsTest, ExtendedOnlyHotkeysLoadOnlyWithTheExtendedTable)
{
    RegistrySandbox::PutAll(HKEY_CURRENT_USER, 0x7005E, 0, 0);
    UseTable(false);
    EXPECT_EQ(SETTINGS_INVALID_HOTKEY, LoadSettings(0));
    ExpectSettings(0x10017, 2, 0);
    UseTable(true);
    EXPECT_EQ(0, LoadSettings(0));
    ExpectSettings(0x7005E, 0, 0);
}

// Only the size of a value counts, not its type: up to 4 bytes replace the
// low-order bytes of 0xFFFF0000, more make the query fail.
TEST_F(SettingsTest, BinaryValuesOfOneToEightBytes)
{
    const unsigned char bytes[8] = {0x17, 0, 0, 0, 9, 9, 9, 9};   // 0x17: Ctrl-W
    const unsigned char two[8] = {2, 0, 0, 0, 9, 9, 9, 9};
    const unsigned char zero[8] = {0, 0, 0, 0, 9, 9, 9, 9};
    RegistrySandbox::PutAll(HKEY_LOCAL_MACHINE, 0x1006B, 0, 0);
    for (DWORD size = 1; size <= 8; size++) {
        RegistrySandbox::Put(HKEY_CURRENT_USER, HOTKEY_VALUE, REG_BINARY, bytes, size);
        RegistrySandbox::Put(HKEY_CURRENT_USER, SMART_TIMES_VALUE, REG_BINARY, two, size);
        RegistrySandbox::Put(HKEY_CURRENT_USER, SUBDIR_COUNTS_VALUE, REG_BINARY, zero, size);
        SetSettings(0x10017, 2, 0);
        int result = LoadSettings(0);
        if (size < 4) {
            EXPECT_EQ(SETTINGS_INVALID_HOTKEY, result) << size;   // 0xFFFF0017 or 0xFF000017
            ExpectSettings(0x10017, 2, 0);
        } else if (size == 4) {
            EXPECT_EQ(0, result);
            ExpectSettings(0x17, 2, 0);
        } else {
            EXPECT_EQ(0, result) << size;           // too long: the machine's key
            ExpectSettings(0x1006B, 0, 0);
        }
    }
    // A short SmartTimes or SubdirCounts keeps the high bytes of 0xFFFF0000.
    RegistrySandbox::PutNumber(HKEY_CURRENT_USER, HOTKEY_VALUE, 0x17);
    for (DWORD size : {1u, 3u, 5u, 8u}) {
        RegistrySandbox::Put(HKEY_CURRENT_USER, SMART_TIMES_VALUE, REG_BINARY, two, size);
        RegistrySandbox::Put(HKEY_CURRENT_USER, SUBDIR_COUNTS_VALUE, REG_BINARY, zero, size);
        EXPECT_EQ(0, LoadSettings(0));
        ExpectSettings(0x17, 1, 1);
    }
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, StoredSettingsKey, StoredSettingsValues[HOTKEY_VALUE]);
    RegistrySandbox::Put(HKEY_CURRENT_USER, HOTKEY_VALUE, REG_BINARY, bytes, 5);
    EXPECT_EQ(SETTINGS_NOT_FOUND, LoadSettings(0));
}

TEST_F(SettingsTest, SaveCreatesTheKeyAndLoadReadsTheSameNumbersBack)
{
    HKEY key;
    ASSERT_NE(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &key));
    SetSettings(0x7000E, 0, 1);
    EXPECT_EQ(0, SaveSettings());
    EXPECT_EQ(L"", Err());
    const long long values[3] = {0x7000E, 0, 1};   // each a REG_DWORD
    for (int i = 0; i < 3; i++) EXPECT_EQ(values[i], RegistrySandbox::Saved((SettingsValue)i)) << i;
    SetSettings(17, 1, 0);
    EXPECT_EQ(0, LoadSettings(1));
    ExpectSettings(0x7000E, 0, 1);
    EXPECT_EQ(L"", Err());
}

TEST_F(SettingsTest, SaveReportsAKeyItCannotOpenForWriting)
{
    RegistrySandbox::PutAll(HKEY_CURRENT_USER, 17, 1, 1);
    RegistrySandbox::DenyWriting(HKEY_CURRENT_USER);

    EXPECT_EQ(SETTINGS_NOT_SAVED, SaveSettings());
    EXPECT_EQ(L"Tirvalo plugin: Error opening registry key\r\n", Err());
    EXPECT_EQ(17, RegistrySandbox::Saved(HOTKEY_VALUE));
    ExpectSettings(0x10017, 2, 0);
}

// Makes RegSetValueExW fail for one value name while it lives.
class FailingValueWrite {
public:
    explicit FailingValueWrite(const wchar_t *name)
    {
        failName_ = name;
        real_ = (SetValueFunction)ReplaceImport("advapi32.dll", "RegSetValueExW", (void *)&Fail);
    }
    ~FailingValueWrite() { ReplaceImport("advapi32.dll", "RegSetValueExW", (void *)real_); }

private:
    typedef LONG(WINAPI *SetValueFunction)(HKEY, LPCWSTR, DWORD, DWORD, const BYTE *, DWORD);

    static LONG WINAPI Fail(HKEY key, LPCWSTR name, DWORD reserved, DWORD type, const BYTE *data,
                            DWORD size)
    {
        if (name != nullptr && lstrcmpiW(name, failName_) == 0) return ERROR_ACCESS_DENIED;
        return real_(key, name, reserved, type, data, size);
    }

    static const wchar_t *failName_;
    static SetValueFunction real_;
};
const wchar_t *FailingValueWrite::failName_ = nullptr;
FailingValueWrite::SetValueFunction FailingValueWrite::real_ = nullptr;

// A failed write of any of the three values fails the save, which stops at
// it: the values before it are written, those after it keep what they held.
TEST_F(SettingsTest, SaveFailsWhenAnyValueCannotBeWritten)
{
    for (int failing = 0; failing < 3; failing++) {
        KorrashClearCaptured();
        RegistrySandbox::PutAll(HKEY_CURRENT_USER, 17, 1, 1);
        SetSettings(0x10017, 2, 0);
        {
            FailingValueWrite failure(StoredSettingsValues[failing]);
            EXPECT_EQ(SETTINGS_NOT_SAVED, SaveSettings()) << failing;
        }
        EXPECT_EQ(L"Tirvalo plugin: Error writing to registry\r\n", Err());
        const long long before[3] = {17, 1, 1}, after[3] = {0x10017, 2, 0};
        for (int i = 0; i < 3; i++) {
            EXPECT_EQ(i < failing ? after[i] : before[i], RegistrySandbox::Saved((SettingsValue)i))
                << failing << "," << i;
        }
        ExpectSettings(0x10017, 2, 0);
    }
    EXPECT_EQ(0, SaveSettings());   // the import is back
}

}  // namespace
