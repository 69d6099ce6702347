// The plug-in frame: the information record, the help text and what Usage
// and Help give, the host version probe and gate, and the error prefix.
#include <windows.h>

#include <string>

#include "frame/help.h"
#include "frame/host_api.h"
#include "frame/plugin.h"
#include "frame/text.h"
#include "tests/support/host_state.h"
#include "tests/support/locked_file.h"
#include "window_probe.h"

namespace {

using FrameTest = HostTest;

TEST_F(FrameTest, InformationRecordNamesThePluginAndWhatItImplements)
{
    PluginInfo *info = GetPluginInfo();
    ASSERT_NE(nullptr, info);
    EXPECT_STREQ(L"Tirvalo", info->name);
    EXPECT_STREQ(L"Tirvalo", info->secondName);
    EXPECT_STREQ(L"*key,tirvalo", info->implements);
    EXPECT_EQ(1, info->major);
    EXPECT_EQ(4, info->minor);
    EXPECT_EQ(0, info->build);
    EXPECT_GT(TextLength(info->author), 0);
    EXPECT_GT(TextLength(info->email), 0);
    EXPECT_GT(TextLength(info->webPage), 0);
    EXPECT_EQ(info, GetPluginInfo());
}

TEST_F(FrameTest, HelpTextKeepsItsSignificantBlanks)
{
    std::wstring help = HelpText;
    EXPECT_EQ(463u, help.size());
    EXPECT_EQ(0u, help.find(L"Display or change options for the Tirvalo plugin. \n\n"));
    EXPECT_NE(std::wstring::npos, help.find(L"TIRVALO [/S /R /L /T:x /C:x] [hotkey] \r\n\n"));
    EXPECT_NE(std::wstring::npos, help.find(L"\t/S \tsave options to the registry as new default  \n"));
    EXPECT_NE(std::wstring::npos, help.find(L"\t/T \tsmart timestamps:     0: off, 1: on, 2: UTC\n"));
    EXPECT_NE(std::wstring::npos, help.find(L"\t/C \tsubdirectory counts:  0: off, 1: on\n\n"));
    EXPECT_NE(std::wstring::npos, help.find(L"or Shift-F10.  \nControl-Q is the default.  If"));
    EXPECT_EQ(help.size() - 31, help.rfind(L"current setting will be shown.\n"));
}

TEST_F(FrameTest, UsageAnswersForTheCommandInAnyCase)
{
    const std::wstring expected = std::wstring(HelpText).substr(52);
    ASSERT_EQ(0u, expected.find(L"TIRVALO [/S"));
    for (const wchar_t *name : {L"tirvalo", L"TIRVALO", L"TirValo"}) {
        wchar_t buffer[USAGE_CAPACITY];
        buffer[0] = L'#';
        EXPECT_EQ(1, Usage(name, buffer)) << name;
        EXPECT_EQ(expected, buffer) << name;
    }
}

TEST_F(FrameTest, UsageLeavesTheBufferUntouchedForAnotherCommand)
{
    wchar_t buffer[USAGE_CAPACITY];
    for (int i = 0; i < USAGE_CAPACITY; i++) buffer[i] = L'#';
    for (const wchar_t *name : {L"tirval", L"tirvalo2", L"", L"t\u00edrvalo"}) {
        EXPECT_EQ(0, Usage(name, buffer)) << name;
    }
    EXPECT_EQ(0, Usage(nullptr, buffer));
    EXPECT_EQ(0, Usage(L"tirvalo", nullptr));
    for (int i = 0; i < USAGE_CAPACITY; i++) ASSERT_EQ(L'#', buffer[i]) << i;
}

TEST_F(FrameTest, HelpShowsTheWholeTextInAnInformationBoxAndReturnsMinusOne)
{
    WindowProbe probe(IDOK);
    EXPECT_EQ(-1, Help(L"TIRVALO"));
    ASSERT_EQ(1u, probe.Windows().size());
    EXPECT_EQ(L"Tirvalo", probe.Windows()[0].caption);
    std::wstring shown = probe.Windows()[0].Text(0xFFFF);
    // The box shows the text; a static control keeps it as given.
    EXPECT_EQ(std::wstring(HelpText), shown);
}

// The box is owned by the window in front only when that answers: the box
// disables its owner, which waits for the owner's thread.
TEST_F(FrameTest, HelpBoxIsOwnedByTheWindowInFrontOnlyWhenItAnswers)
{
    HWND front = CreateWindowExW(0, L"STATIC", L"front", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                 nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(front);
    WindowProbe probe(IDOK);
    EXPECT_EQ(-1, Help(L"tirvalo"));
    DestroyWindow(front);
    EXPECT_TRUE(ReturnsBesideAHungWindow([] { EXPECT_EQ(-1, Help(L"tirvalo")); }));
    ASSERT_EQ(2u, probe.Windows().size());
    EXPECT_EQ(front, probe.Windows()[0].owner);
    EXPECT_EQ(nullptr, probe.Windows()[1].owner);
}

TEST_F(FrameTest, HelpIgnoresOtherCommands)
{
    WindowProbe probe(IDOK);
    EXPECT_EQ(0, Help(L"other"));
    EXPECT_EQ(0, Help(nullptr));
    EXPECT_TRUE(probe.Windows().empty());
}

TEST_F(FrameTest, ShutdownDoesNothingAndSucceeds)
{
    EXPECT_EQ(0, ShutdownPlugin(0));
    EXPECT_EQ(0, ShutdownPlugin(1));
    EXPECT_TRUE(Out().empty());
}

struct VersionCase {
    const char *name;
    const wchar_t *version;
    const wchar_t *build;
    int gate;        // CheckHostVersion
    int major;       // HostMajorVersion after the probe
    int extended;    // UseExtendedKeys after the probe
};

void PrintTo(const VersionCase &c, std::ostream *out)
{
    *out << c.name;
}

class VersionGateTest : public HostTest, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(VersionGateTest, ProbeAndGateReadTheHostVersion)
{
    const VersionCase &c = GetParam();
    SetVersion(c.version, c.build);
    ProbeHostVersion();
    EXPECT_EQ(c.major, HostMajorVersion);
    EXPECT_EQ(c.extended, UseExtendedKeys);
    EXPECT_EQ(c.gate, CheckHostVersion());
    EXPECT_TRUE(Out().empty());
    EXPECT_TRUE(Err().empty());
}

INSTANTIATE_TEST_SUITE_P(Versions, VersionGateTest, ::testing::Values(
    VersionCase{"Build47TooOld", L"11.00", L"47", 1, 11, 0},      // too old
    VersionCase{"Build48", L"11.00", L"48", 0, 11, 0},
    VersionCase{"Minor01Build0", L"11.01", L"0", 0, 11, 0},
    VersionCase{"Minor01Build9999", L"11.01", L"9999", 0, 11, 0},
    VersionCase{"Version1099", L"10.99", L"9999", 1, 10, 0},
    VersionCase{"Bare12", L"12", L"100", -1, 12, 0},        // no minor number
    VersionCase{"SeparatorThenEnd", L"12.", L"100", -1, 12, 0},       // separator, then the end
    VersionCase{"BuildAbove9999", L"12.00", L"10000", -1, 12, 0},   // build above 9999
    VersionCase{"NegativeBuild", L"12.00", L"-1", -1, 12, 0},
    VersionCase{"MinorAbove99", L"12.100", L"1", -1, 12, 0},      // minor above 99
    VersionCase{"Version2301", L"23.01", L"50", 0, 23, 0},
    VersionCase{"Version2400", L"24.00", L"50", 0, 24, 1},
    VersionCase{"CommaSeparator", L"24,05", L"50", 0, 24, 1},       // any separator
    VersionCase{"Version700", L"7.00", L"1", 1, 0, 0},          // below the probe's range, but a version
    VersionCase{"Version600", L"6.00", L"1", -1, 0, 0},
    VersionCase{"Version9999", L"99.99", L"1", 0, 99, 1},
    VersionCase{"Version100", L"100.00", L"1", -1, 100, 1},     // the probe takes up to 100, the gate 99
    VersionCase{"Version101", L"101.00", L"1", -1, 0, 0},
    VersionCase{"LeadingBlank", L" 25.00", L"1", 0, 25, 1},       // leading blank allowed
    VersionCase{"Empty", L"", L"", -1, 0, 0},
    VersionCase{"NotANumber", L"abc", L"48", -1, 0, 0},
    VersionCase{"HugeMajor", L"99999999999.00", L"1", -1, 0, 0}),
    [](const ::testing::TestParamInfo<VersionCase> &info) { return std::string(info.param.name); });

TEST_F(FrameTest, ErrorPrefixOutsideABatchFileIsThePluginName)
{
    EXPECT_EQ(0, WriteErrorPrefix());
    EXPECT_EQ(L"Tirvalo plugin: ", Err());
    EXPECT_TRUE(Out().empty());
}

TEST_F(FrameTest, ErrorPrefixInsideABatchFileShowsItsNameAndLine)
{
    SetBatch(L"C:\\work\\setup.btm", L"12");
    WriteErrorPrefix();
    EXPECT_EQ(L"Tirvalo plugin: C:\\work\\setup.btm [12]  ", Err());
}

TEST_F(FrameTest, ErrorPrefixWritesTheBatchNameAsPlainText)
{
    SetBatch(L"C:\\50%s %d %n.btm", L"3");
    WriteErrorPrefix();
    EXPECT_EQ(L"Tirvalo plugin: C:\\50%s %d %n.btm [3]  ", Err());
}

TEST_F(FrameTest, ErrorPrefixWithoutTheBatchTextTheHostCouldNotExpand)
{
    // A name that fills the host's whole expansion buffer: the name and
    // line do not fit, and the expansion fails.
    SetBatch((L"C:\\" + std::wstring(HOST_EXPAND_CAPACITY - 8, L'n')).c_str(), L"3");
    WriteErrorPrefix();
    EXPECT_EQ(L"Tirvalo plugin: ", Err());
}

}  // namespace
