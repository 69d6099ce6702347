// The stand-in host's expander and output, which every other test relies on:
// variables, the two functions the plug-in calls, nesting, and failures.
#include <windows.h>

#include <string>

#include "frame/host_api.h"
#include "tests/support/host_state.h"
#include "tests/support/temp_folder.h"

namespace {

class ExpanderTest : public HostTest {
protected:
    // Expands text in a buffer of the host's capacity; "<failed>" on failure.
    static std::wstring Expand(const std::wstring &text)
    {
        std::wstring buffer(HOST_EXPAND_CAPACITY, L'\0');
        buffer.replace(0, text.size(), text);
        if (ExpandVariables(&buffer[0], 1) != 0) {
            if (buffer.compare(0, text.size() + 1, text.c_str(), text.size() + 1) != 0) {
                return L"<changed on failure>";
            }
            return L"<failed>";
        }
        return buffer.c_str();
    }

    void SetUp() override
    {
        HostTest::SetUp();
        directory_ = MakeTempDirectory(L"tirvalo-host-test");
    }
    void TearDown() override
    {
        RemoveTree(directory_);
        KorrashSetVariable(L"tirvalo_test", nullptr);
        HostTest::TearDown();
    }

    void WriteDescriptions(const char *utf8) { WriteBytes(directory_ + L"\\descript.ion", utf8); }

    std::wstring directory_;
};

TEST_F(ExpanderTest, VariablesInternalAndUser)
{
    SetVersion(L"23.01", L"48");
    EXPECT_EQ(L"23.01 48", Expand(L"%_4ver %_build"));
    EXPECT_EQ(L"0", Expand(L"%_batch"));
    EXPECT_EQ(L"00", Expand(L"%[_transient]%[_pipe]%[tirvalo_test]"));
    KorrashSetVariable(L"tirvalo_test", L"x");
    EXPECT_EQ(L"00x", Expand(L"%[_transient]%[_pipe]%[TIRVALO_TEST]"));
    EXPECT_EQ(L"[x]-", Expand(L"[%tirvalo_test]-"));
    SetBatch(L"C:\\a.btm", L"7");
    EXPECT_EQ(L"C:\\a.btm [7]  ", Expand(L"%_batchname [%_batchline]  "));
}

TEST_F(ExpanderTest, PercentSignsAndUnsetNames)
{
    EXPECT_EQ(L"100%", Expand(L"100%%"));
    EXPECT_EQ(L"%%", Expand(L"%%%%"));
    EXPECT_EQ(L"a  b", Expand(L"a %nosuchvariable b"));
    EXPECT_EQ(L"50% off", Expand(L"50% off"));
    EXPECT_EQ(L"end%", Expand(L"end%"));
    EXPECT_EQ(L"", Expand(L"%[nosuchvariable]"));
}

TEST_F(ExpanderTest, CommaGroupsTheIntegerPartOnly)
{
    EXPECT_EQ(L"0", Expand(L"%@comma[0]"));
    EXPECT_EQ(L"999", Expand(L"%@comma[999]"));
    EXPECT_EQ(L"1,000", Expand(L"%@comma[1000]"));
    EXPECT_EQ(L"1,234,567", Expand(L"%@comma[1234567]"));
    EXPECT_EQ(L"1,024.00", Expand(L"%@comma[1024.00]"));
    EXPECT_EQ(L"-12,345.5", Expand(L"%@comma[-12345.5]"));
    EXPECT_EQ(L"18,446,744,073,709,551,615", Expand(L"%@comma[18446744073709551615]"));
}

TEST_F(ExpanderTest, FunctionArgumentsAreExpandedFirstAndDoubledPercentIsData)
{
    KorrashSetVariable(L"tirvalo_test", L"1234");
    EXPECT_EQ(L"1,234", Expand(L"%@comma[%tirvalo_test]"));
    EXPECT_EQ(L"%tirvalo_test", Expand(L"%@comma[%%tirvalo_test]"));
    EXPECT_EQ(L"12,345", Expand(L"%@comma[%@comma[12345]]"));
}

TEST_F(ExpanderTest, FailuresLeaveTheTextAsItWas)
{
    EXPECT_EQ(L"<failed>", Expand(L"%@nosuchfunction[1]"));
    EXPECT_EQ(L"<failed>", Expand(L"%@comma[12"));
    std::wstring deep;
    for (int i = 0; i < 40; i++) deep += L"%@comma[";
    deep += L"1" + std::wstring(40, L']');
    EXPECT_EQ(L"<failed>", Expand(deep));
    // A result that would not fit the host's capacity fails.
    KorrashSetVariable(L"tirvalo_test", std::wstring(5000, L'x').c_str());
    EXPECT_EQ(L"<failed>", Expand(L"%tirvalo_test%tirvalo_test"));
    EXPECT_EQ(5000u, Expand(L"%tirvalo_test").size());
}

TEST_F(ExpanderTest, DescriptionsComeFromTheDirectorysDescriptionFile)
{
    WriteDescriptions("readme.txt Read me first\r\n"
                      "\"my notes.txt\"  Notes with a \xE2\x80\x94 dash\r\n"
                      "other.txt\tTabbed\n");
    EXPECT_EQ(L"Read me first", Expand(L"%@descript[" + directory_ + L"\\README.TXT]"));
    EXPECT_EQ(L"Notes with a \u2014 dash", Expand(L"%@descript[" + directory_ + L"\\my notes.txt]"));
    EXPECT_EQ(L"Tabbed", Expand(L"%@descript[" + directory_ + L"\\other.txt]"));
    EXPECT_EQ(L"", Expand(L"%@descript[" + directory_ + L"\\missing.txt]"));
    EXPECT_EQ(L"", Expand(L"%@descript[" + directory_ + L"\\nodir\\readme.txt]"));
}

TEST_F(ExpanderTest, OutputIsCapturedExactlyAsGiven)
{
    Printf(L"%s %d\n", L"caf\u00e9 \u2019", 42);
    QPuts(L"a\r\nb");
    Qprintf(GetStdHandle(STD_ERROR_HANDLE), L"%s\r\n", L"\u00b7");
    EXPECT_EQ(L"caf\u00e9 \u2019 42\na\r\nb", Out());
    EXPECT_EQ(L"\u00b7\r\n", Err());
}

TEST_F(ExpanderTest, TrueNameAndExistenceQueries)
{
    std::wstring result(32768, L'#');
    EXPECT_EQ(0, QueryTrueName((directory_ + L"\\sub\\..\\x.txt").c_str(), &result[0]));
    EXPECT_EQ(directory_ + L"\\x.txt", result.c_str());
    result[0] = L'#';
    QueryTrueName(L"", &result[0]);
    EXPECT_EQ(L'\0', result[0]);
    EXPECT_TRUE(QueryIsDirectory(directory_.c_str()));
    EXPECT_FALSE(QueryIsFile(directory_.c_str()));
    EXPECT_TRUE(QueryIsFileOrDirectory(directory_.c_str()));
    WriteDescriptions("x");
    std::wstring file = directory_ + L"\\descript.ion";
    EXPECT_TRUE(QueryIsFile(file.c_str()));
    EXPECT_FALSE(QueryIsDirectory(file.c_str()));
    EXPECT_FALSE(QueryIsFileOrDirectory((directory_ + L"\\none").c_str()));
}

TEST_F(ExpanderTest, HonkCountsBeepsWithTheirTimes)
{
    honk();
    honk();
    EXPECT_EQ(2, KorrashBeepCount());
    EXPECT_LE(KorrashBeepTime(0), KorrashBeepTime(1));
    EXPECT_NE(0u, KorrashBeepTime(1));
}

}  // namespace
