// The scans of names and commands that decide what is looked up: extensions,
// wildcards, percent signs, the lookup extension and the program part.
#include <gtest/gtest.h>

#include <string>

#include "fileinfo/name_scan.h"
#include "frame/text.h"

namespace {

TEST(NameScanTest, ExtensionIsFromTheLastDotOfTheLastComponent)
{
    const struct { const wchar_t *name, *extension; } cases[] = {
        {L"C:\\a\\b.txt", L".txt"},     {L"C:\\x\\archive.tar.gz", L".gz"},
        {L"C:\\rel1.2\\README", L""},   {L"C:\\x\\name.", L"."},
        {L"C:\\x\\y.z/w", L""},         {L"C:a.EXE", L".EXE"},
        {L"C:\\f.exe:stream", L""},     {L"C:\\noext", L""},
    };
    for (const auto &c : cases) {
        wchar_t extension[16] = L"stale";
        EXPECT_EQ(c.extension[0] != 0, FindExtension(c.name, extension, 16)) << c.name;
        EXPECT_STREQ(c.extension, extension) << c.name;
    }
    // Too long for its text: no extension rather than a cut one.
    wchar_t small[4] = L"abc";
    EXPECT_EQ(0, FindExtension(L"C:\\a.exe2", small, 4));
    EXPECT_STREQ(L"", small);
}

TEST(NameScanTest, WildcardsOutsideTheLongPathPrefix)
{
    const struct { const wchar_t *name; int wildcard; } cases[] = {
        {L"C:\\a\\*.txt", 1}, {L"C:\\a?b", 1},  {L"\\\\?\\C:\\a.txt", 0}, {L"\\\\?\\C:\\a?", 1},
        {L"\\\\?", 1},        {L"\\x?\\y", 1},  {L"C:\\plain", 0},        {L"\\\\?\\*", 1},
        {L"C:\\a<b", 1},       {L"C:\\a>b", 1}, {L"\\\\?\\C:\\a\"b", 1},
    };
    for (const auto &c : cases) EXPECT_EQ(c.wildcard, HasWildcard(c.name)) << c.name;
}

TEST(NameScanTest, PercentSignsUndoubledAndDoubled)
{
    const struct { const wchar_t *before; int pairs; const wchar_t *after; } cases[] = {
        {L"50%%off", 1, L"50%off"}, {L"%%%%", 2, L"%%"}, {L"%%%", 1, L"%%"}, {L"%a%", 0, L"%a%"},
    };
    for (const auto &c : cases) {
        std::wstring text = c.before;
        EXPECT_EQ(c.pairs, UndoublePercents(&text[0])) << c.before;
        EXPECT_STREQ(c.after, text.c_str()) << c.before;
    }
    wchar_t full[] = L"a\uff05b\uff05";
    NarrowPercents(full);
    EXPECT_STREQ(L"a%b%", full);

    wchar_t buffer[8] = L"[";
    EXPECT_EQ(TEXT_OK, AppendDoublingPercents(buffer, 8, L"a%b"));
    EXPECT_STREQ(L"[a%%b", buffer);
    // A doubled sign that would not fit whole is left out.
    EXPECT_EQ(TEXT_CUT, AppendDoublingPercents(buffer, 8, L"c%"));
    EXPECT_STREQ(L"[a%%bc", buffer);
}

TEST(NameScanTest, NamePartIsTheLastComponentUpperCasedInAscii)
{
    wchar_t part[32];
    NamePart(L"C:\\Dir\\Stra\u00dfe.txt", part, 32);
    EXPECT_STREQ(L"STRA\u00dfE.TXT", part);
    NamePart(L"C:", part, 32);
    EXPECT_STREQ(L"C:", part);
}

TEST(NameScanTest, LookupExtensionOfTheLastComponent)
{
    const struct { const wchar_t *path, *piece; } cases[] = {
        {L"C:\\Data\\archive.tar.gz", L".GZ"}, {L"C:\\rel1.2\\README", nullptr},
        {L"C:\\x\\name.", nullptr},            {L"C:\\x\\a.b/c", L".B/C"},
        {L"C:\\x\\.profile", L".PROFILE"},     {L"C:x.y:z", nullptr},
    };
    for (const auto &c : cases) {
        wchar_t piece[16] = L"stale";
        EXPECT_EQ(c.piece != nullptr ? 0 : -1, LookupExtension(c.path, piece, 16)) << c.path;
        EXPECT_STREQ(c.piece != nullptr ? c.piece : L"", piece) << c.path;
    }
    wchar_t small[4];
    EXPECT_EQ(-1, LookupExtension(L"C:\\a.long", small, 4));
}

TEST(NameScanTest, ProgramPartAndPlaceholderCommands)
{
    wchar_t program[64];
    ProgramPart(L"  \"C:\\Program Files\\x.exe\" \"%1\"", program, 64);
    EXPECT_STREQ(L"C:\\Program Files\\x.exe", program);

    const struct { const wchar_t *command; int placeholder; } cases[] = {
        {L"%1", 1},          {L"\"%1\" %*", 1},       {L"%L", 1},
        {L"%l /x", 1},       {L" \t%1", 1},           {L"\u3000%1", 1},
        {L"\" %1\"", 0},     {L"\"C:\\p.exe\" \"%1\"", 0}, {L"%2", 0},
        {L"notepad %1", 0},  {L"", 0},                {L"%1x", 0},
        {L"\"%LOCALAPPDATA%\\App\\app.exe\" \"%1\"", 0},
    };
    for (const auto &c : cases) EXPECT_EQ(c.placeholder, IsPlaceholderCommand(c.command)) << c.command;
}

}  // namespace
