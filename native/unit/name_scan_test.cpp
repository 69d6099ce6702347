/*
** The scans of file names and commands at the edges of their buffers.
*/
#include "check.h"
#include "fileinfo/name_scan.h"
#include "frame/text.h"
#include "support/units.h"

NATIVE_TEST(ExtensionsThatDoNotFitAreNone)
{
    for (int capacity = 1; capacity <= 7; capacity++) {
        wchar_t *extension = NewUnits(capacity);
        int fits = capacity >= 6;
        CHECK_EQ(fits, FindExtension(L"C:\\dir.x\\name.text", extension, capacity));
        CHECK_TEXT(fits ? L".text" : L"", extension);
        CHECK_EQ(fits ? 0 : -1, LookupExtension(L"C:\\dir.x\\name.text", extension, capacity));
        CHECK_TEXT(fits ? L".TEXT" : L"", extension);
        FreeUnits(extension);
    }
    wchar_t piece[8];
    CHECK_EQ(-1, LookupExtension(L"a.b\\c", piece, 8));
    CHECK_EQ(-1, LookupExtension(L"name.", piece, 8));
    CHECK_EQ(0, LookupExtension(L"a.b/c", piece, 8));
    CHECK_TEXT(L".B/C", piece);
    CHECK_EQ(0, FindExtension(0, piece, 8));
    CHECK_EQ(-1, LookupExtension(0, piece, 8));
}

NATIVE_TEST(NamePartIntoBuffersOfEverySize)
{
    for (int capacity = 1; capacity <= 8; capacity++) {
        wchar_t *part = NewUnits(capacity);
        NamePart(L"c:\\Dir\\abc.Txt", part, capacity);
        CHECK_EQ(capacity - 1 < 7 ? capacity - 1 : 7, UnitCount(part));
        CHECK(SameUnits(part, L"ABC.TXT", UnitCount(part)));
        FreeUnits(part);
    }
}

NATIVE_TEST(WildcardTestAtTheStartOfShortNames)
{
    CHECK_EQ(0, HasWildcard(L"\\\\?\\C:\\x"));
    CHECK_EQ(1, HasWildcard(L"\\\\?"));
    CHECK_EQ(1, HasWildcard(L"?"));
    CHECK_EQ(1, HasWildcard(L"\\?"));
    CHECK_EQ(1, HasWildcard(L"\\\\?\\?"));
    CHECK_EQ(0, HasWildcard(L""));
    CHECK_EQ(0, HasWildcard(0));
}

NATIVE_TEST(DoubledPercentsGoInWholeOrNotAtAll)
{
    for (int capacity = 1; capacity <= 9; capacity++) {
        wchar_t *buffer = NewUnits(capacity);
        buffer[0] = 0;
        int status = AppendDoublingPercents(buffer, capacity, L"a%b%");
        const wchar_t *full = L"a%%b%%";
        int length = UnitCount(buffer);
        CHECK_EQ(capacity > 6 ? TEXT_OK : TEXT_CUT, status);
        CHECK(SameUnits(buffer, full, length));
        /* Never half of a pair. */
        int percents = 0;
        for (int i = 0; i < length; i++) percents += buffer[i] == L'%';
        CHECK_EQ(0, percents % 2);
        FreeUnits(buffer);
    }
    /* A buffer that its text fills unterminated is terminated, never read past. */
    wchar_t *full = NewUnits(3);
    full[0] = full[1] = full[2] = L'x';
    CHECK_EQ(TEXT_CUT, AppendDoublingPercents(full, 3, L"%"));
    CHECK_TEXT(L"xx", full);
    FreeUnits(full);
    wchar_t text[16];
    TextCopy(text, 16, L"%%%%%\xFF05%%");
    CHECK_EQ(3, UndoublePercents(text));
    CHECK_TEXT(L"%%%\xFF05%", text);
    NarrowPercents(text);
    CHECK_TEXT(L"%%%%%", text);
    CHECK_EQ(0, UndoublePercents(0));
}

NATIVE_TEST(ProgramPartIntoBuffersOfEverySize)
{
    const wchar_t *command = L"  \"C:\\Program Files\\x.exe\" \"%1\"";
    const wchar_t *expected = L"C:\\Program Files\\x.exe";
    int full = UnitCount(expected);
    for (int capacity = 1; capacity <= full + 2; capacity++) {
        wchar_t *program = NewUnits(capacity);
        int status = ProgramPart(command, program, capacity);
        CHECK_EQ(capacity > full ? TEXT_OK : TEXT_CUT, status);
        CHECK_EQ(capacity > full ? full : capacity - 1, UnitCount(program));
        CHECK(SameUnits(program, expected, UnitCount(program)));
        FreeUnits(program);
    }
    CHECK_EQ(1, IsPlaceholderCommand(L"\"%1\""));
    CHECK_EQ(0, IsPlaceholderCommand(L"%Long"));
    CHECK_EQ(0, IsPlaceholderCommand(L"%"));
    CHECK_EQ(0, IsPlaceholderCommand(L""));
    CHECK_EQ(0, IsPlaceholderCommand(0));
}

/* A path of LONG_PATH_UNITS units or more in its long-path form, into a
** room of every size around the fit, or in place; shorter paths, and paths
** in no drive or share form, as they are. */
NATIVE_TEST(LongPathFormsAtTheEdgesOfTheirRoom)
{
    const struct { const wchar_t *start, *prefix; int skip; } forms[] = {
        {L"C:\\", L"\\\\?\\", 0}, {L"\\\\server\\share\\", L"\\\\?\\UNC\\", 2},
        {L"\\\\?\\C:\\", L"", 0}, {L"\\\\.\\pipe\\", L"", 0}, {L"dir\\", L"", 0}, {L"\\\\\\x\\", L"", 0},
        {L"C:x\\", L"", 0},
    };
    for (const auto &form : forms) {
        for (int length = LONG_PATH_UNITS - 1; length <= LONG_PATH_UNITS; length++) {
            wchar_t *path = NewUnits(length + 1);
            int start = UnitCount(form.start), prefix = UnitCount(form.prefix);
            for (int i = 0; i < length; i++) path[i] = i < start ? form.start[i] : L'x';
            path[length] = 0;
            int changes = length >= LONG_PATH_UNITS && prefix > 0;
            int needed = length - form.skip + prefix + 1;
            for (int capacity = needed - 1; capacity <= needed; capacity++) {
                wchar_t *room = NewUnits(capacity);
                const wchar_t *result = FileSystemPath(path, room, capacity);
                CHECK(result == (changes && capacity == needed ? room : path));
                if (result == room) {
                    CHECK(SameUnits(room, form.prefix, prefix));
                    CHECK_TEXT(path + form.skip, room + prefix);
                }
                FreeUnits(room);
            }
            if (changes) {   /* in place */
                wchar_t *text = NewUnits(needed);
                TextCopy(text, needed, path);
                CHECK(FileSystemPath(text, text, needed) == text);
                CHECK(SameUnits(text, form.prefix, prefix));
                CHECK_TEXT(path + form.skip, text + prefix);
                FreeUnits(text);
            }
            FreeUnits(path);
        }
    }
    CHECK(FileSystemPath(0, 0, 0) == 0);

    /* Normalised first: a long name with "/", "." or "..", not in a long form. */
    const struct { const wchar_t *start; int needs; } names[] = {
        {L"C:\\x", 0}, {L"C:\\a\\..\\x", 1}, {L"C:\\.\\x", 1}, {L"C:/x", 1}, {L"C:\\..a\\a.\\x", 0},
        {L"\\\\?\\C:\\..\\x", 0},
    };
    wchar_t name[LONG_PATH_UNITS + 16];
    for (const auto &row : names) {
        TextCopy(name, LONG_PATH_UNITS + 16, row.start);
        CHECK_EQ(0, NeedsNormalising(name));   /* short */
        while (TextLength(name) < LONG_PATH_UNITS) TextAppend(name, LONG_PATH_UNITS + 16, L"x");
        CHECK_EQ(row.needs, NeedsNormalising(name));
    }
    CHECK_EQ(0, NeedsNormalising(0));
    CHECK_EQ(1, IsBareDrive(L"c:"));
    CHECK_EQ(0, IsBareDrive(L"c:\\"));
    CHECK_EQ(0, IsBareDrive(L"1:"));
    CHECK_EQ(0, IsBareDrive(L"c"));
    CHECK_EQ(0, IsBareDrive(0));
}
