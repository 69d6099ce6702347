// File types from the registry's class tables, each test in scratch tables:
// per-user classes, HKEY_CLASSES_ROOT, and per-machine names and commands.
#include <windows.h>

#include <string>

#include "fileinfo/filetype.h"
#include "tests/support/fileinfo_fixture.h"

namespace {

struct Lookup {
    int result;
    std::wstring type, command;
    FileTypeSource source;
};

class FileTypeTest : public FileInfoTest {
protected:
    static Lookup Find(const std::wstring &path)
    {
        std::wstring type(FILE_TYPE_CAPACITY, L'#'), command(FILE_TYPE_CAPACITY, L'#');
        FileTypeSource source = 99;
        int result = GetFileTypeInfo(path.c_str(), &type[0], &command[0], &source);
        return {result, type.c_str(), command.c_str(), source};
    }
    static void User(const std::wstring &key, const wchar_t *value)
    {
        RegistrySandbox::SetDefault(HKEY_CURRENT_USER, L"Software\\Classes\\" + key, value);
    }
    static void Machine(const std::wstring &key, const wchar_t *value)
    {
        RegistrySandbox::SetDefault(HKEY_LOCAL_MACHINE, L"Software\\Classes\\" + key, value);
    }
    static void Root(const std::wstring &key, const wchar_t *value)
    {
        RegistrySandbox::SetDefault(HKEY_CLASSES_ROOT, key, value);
    }
    RegistrySandbox registry_;
};

TEST_F(FileTypeTest, PerUserClassComesFirstAndItsNamesUserThenMachine)
{
    User(L".tvq", L"tvqfile");
    Root(L".tvq", L"rootclass");
    Machine(L"tvqfile", L"Machine name");
    User(L"tvqfile", L"TVQ Document");
    Machine(L"tvqfile\\shell\\open\\command", L"\"C:\\Tools\\tvq.exe\" \"%1\" /x");
    Lookup found = Find(Path(L"notes.TvQ"));
    EXPECT_EQ(0, found.result);
    EXPECT_EQ(SourceUserClasses, found.source);
    EXPECT_EQ(L"tvqfile  (TVQ Document)", found.type);
    EXPECT_EQ(L"\"C:\\Tools\\tvq.exe\" \"%1\" /x", found.command);
}

TEST_F(FileTypeTest, ClassRootAndFallThroughFromAnEmptyPerUserDefault)
{
    Root(L".tvr", L"tvrfile");
    Machine(L"tvrfile", L"");
    User(L".tvs", L"");
    Root(L".tvs", L"tvsfile");
    Machine(L"tvsfile", L"TVS Sheet");
    Lookup found = Find(Path(L"a.tvr"));
    EXPECT_EQ(SourceClassesRoot, found.source);
    EXPECT_EQ(L"tvrfile", found.type);          // no friendly name
    EXPECT_EQ(L"\u2014", found.command);        // no open command
    found = Find(Path(L"a.tvs"));
    EXPECT_EQ(SourceClassesRoot, found.source);
    EXPECT_EQ(L"tvsfile  (TVS Sheet)", found.type);
}

TEST_F(FileTypeTest, CommandsThatRunTheFileItselfAreExecutableFiles)
{
    Root(L".tvx", L"tvxfile");
    const struct { const wchar_t *command, *shown; } cases[] = {
        {L"%1 %*", L"Executable file"},        {L"\"%1\" %*", L"Executable file"},
        {L"%L", L"Executable file"},           {L"  %l /y", L"Executable file"},
        {L"\" %1\"", L"\" %1\""},              {L"\"C:\\p.exe\" \"%1\"", L"\"C:\\p.exe\" \"%1\""},
    };
    for (const auto &c : cases) {
        Machine(L"tvxfile\\shell\\open\\command", c.command);
        EXPECT_EQ(c.shown, Find(Path(L"run.tvx")).command) << c.command;
    }
}

TEST_F(FileTypeTest, NoTypeCases)
{
    Root(L".tvq", L"tvqfile");
    const struct { std::wstring path; int result; FileTypeSource source; } cases[] = {
        {MakeFolder(L"folder.tvq"), 0, SourceDirectory},
        {Path(L"rel1.tvq\\README"), FILE_TYPE_REFUSED, SourceNone},
        {Path(L"name.tvq."), FILE_TYPE_REFUSED, SourceNone},
        {Path(L"unknown.tvz"), 0, SourceNone},
    };
    for (const auto &c : cases) {
        Lookup found = Find(c.path);
        EXPECT_EQ(c.result, found.result);
        EXPECT_EQ(c.source, found.source);
        EXPECT_EQ(L"", found.type);
        EXPECT_EQ(L"", found.command);
    }
    wchar_t text[8];
    FileTypeSource source;
    EXPECT_EQ(FILE_TYPE_REFUSED, GetFileTypeInfo(nullptr, text, text, &source));
    EXPECT_EQ(FILE_TYPE_REFUSED, GetFileTypeInfo(L"C:\\a.tvq", text, text, nullptr));
}

}  // namespace
