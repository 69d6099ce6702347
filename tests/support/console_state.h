// Fixtures for the tests of hotkeys, settings, loading and the command: the
// process-wide values those routines share (Settings, the host's version
// and the key table in use) are saved before each test and put back after
// it.
#ifndef TIRVALO_TESTS_CONSOLE_STATE_H
#define TIRVALO_TESTS_CONSOLE_STATE_H

#include "frame/plugin.h"
#include "host_state.h"
#include "registry_sandbox.h"
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

#endif
