// Loading: the version gate and its refusal, the options loaded or the
// defaults, and when the load message appears.
#include <string>

#include "tests/support/console_state.h"
#include "frame/host_api.h"
#include "entry/entry.h"

namespace {

class LoadingTest : public ConsoleTest {
protected:
    void SetUp() override
    {
        ConsoleTest::SetUp();
        SetSettings(0x10017, 2, 0);   // unlike the defaults
    }
    void TearDown() override
    {
        KorrashSetVariable(L"noloadmsg", nullptr);
        ConsoleTest::TearDown();
    }
    RegistrySandbox registry_;
};

TEST_F(LoadingTest, RefusesHostsOlderThan11Build48)
{
    SetVersion(L"11.00", L"47");
    EXPECT_EQ(-1, InitializePlugin());
    EXPECT_EQ(L"Tirvalo plugin: Korrash v11.00.48 or higher required!\r\n", Err());
    EXPECT_EQ(L"", Out());
    ExpectSettings(0x10017, 2, 0);   // nothing loaded, nothing reset

    KorrashClearCaptured();
    SetVersion(L"12", L"100");             // unusable: no minor number
    EXPECT_EQ(-1, InitializePlugin());
    EXPECT_EQ(L"Tirvalo plugin: Korrash v11.00.48 or higher required!\r\n", Err());
}

TEST_F(LoadingTest, RefusalInsideABatchFileNamesIt)
{
    SetVersion(L"10.99", L"100");
    SetBatch(L"C:\\start.btm", L"4");
    EXPECT_EQ(-1, InitializePlugin());
    EXPECT_EQ(L"Tirvalo plugin: C:\\start.btm [4]  Korrash v11.00.48 or higher required!\r\n", Err());
}

TEST_F(LoadingTest, WithoutSavedOptionsTheDefaultsApplyAndAreAnnounced)
{
    SetVersion(L"11.00", L"48");
    EXPECT_EQ(0, InitializePlugin());
    EXPECT_EQ(L"Tirvalo v1.4.0 loaded; hotkey is Ctrl-Q.\n", Out());
    EXPECT_EQ(L"", Err());
    ExpectSettings(17, 1, 1);
    EXPECT_EQ(11, HostMajorVersion);
    EXPECT_EQ(0, UseExtendedKeys);
}

TEST_F(LoadingTest, SavedOptionsAreLoadedAndTheHotkeyNamedForTheTableInUse)
{
    RegistrySandbox::PutAll(HKEY_CURRENT_USER, 0x1000E, 0, 0);
    SetVersion(L"23.01", L"100");
    EXPECT_EQ(0, InitializePlugin());
    EXPECT_EQ(L"Tirvalo v1.4.0 loaded; hotkey is Alt-BkSp.\n", Out());
    ExpectSettings(0x1000E, 0, 0);

    KorrashClearCaptured();
    SetVersion(L"24.00", L"100");
    EXPECT_EQ(0, InitializePlugin());
    EXPECT_EQ(L"Tirvalo v1.4.0 loaded; hotkey is Alt-Backspace.\n", Out());
}

TEST_F(LoadingTest, AHotkeyTheTableLacksDiscardsAllThreeOptions)
{
    RegistrySandbox::PutAll(HKEY_CURRENT_USER, 0x7005E, 2, 0);   // Ctrl-Alt-Shift-F1
    SetVersion(L"24.00", L"100");
    EXPECT_EQ(0, InitializePlugin());
    EXPECT_EQ(L"Tirvalo v1.4.0 loaded; hotkey is Ctrl-Alt-Shift-F1.\n", Out());

    KorrashClearCaptured();
    SetVersion(L"23.01", L"100");
    EXPECT_EQ(0, InitializePlugin());
    EXPECT_EQ(L"Tirvalo v1.4.0 loaded; hotkey is Ctrl-Q.\n", Out());
    EXPECT_EQ(L"", Err());
    ExpectSettings(17, 1, 1);
}

TEST_F(LoadingTest, TheMessageNeedsExactly00)
{
    struct {
        const wchar_t *transient, *pipe, *noloadmsg;
        bool shown;
    } cases[] = {
        {L"0", L"0", nullptr, true},
        {L"1", L"0", nullptr, false},
        {L"0", L"1", nullptr, false},
        {L"0", L"0", L"1", false},
        {L"0", L"0", L"0", false},    // any value, even 0
        {L"0", L"0", L"no", false},
        {L"", L"00", nullptr, true},  // only the expansion counts
    };
    for (const auto &c : cases) {
        KorrashClearCaptured();
        KorrashSetInternal(L"_transient", c.transient);
        KorrashSetInternal(L"_pipe", c.pipe);
        KorrashSetVariable(L"noloadmsg", c.noloadmsg);
        EXPECT_EQ(0, InitializePlugin());
        EXPECT_EQ(c.shown ? L"Tirvalo v1.4.0 loaded; hotkey is Ctrl-Q.\n" : L"", Out());
        EXPECT_EQ(L"", Err());
    }
}

// The host is not told the size of the buffer it expands into: a long
// noloadmsg must fit the buffer InitializePlugin hands it.
TEST_F(LoadingTest, ALongNoloadmsgFitsTheExpansionBuffer)
{
    std::wstring value(HOST_EXPAND_CAPACITY - 8, L'x');
    KorrashSetVariable(L"noloadmsg", value.c_str());
    EXPECT_EQ(0, InitializePlugin());
    EXPECT_EQ(L"", Out());
    EXPECT_EQ(17, Settings.Hotkey);
}

}  // namespace
