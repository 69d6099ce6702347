/*
** The field formatters for sizes, directory contents, attributes and
** descriptions.  Digit grouping and descriptions come from the host, through
** its expander; everything else is written here.
*/
#include <windows.h>

#include "formatters.h"
#include "name_scan.h"
#include "frame/host_api.h"
#include "frame/text.h"

static const wchar_t EmDash[] = L"\u2014";

int GroupDigits(wchar_t *text)
{
    static const wchar_t Open[] = L"%@comma[";
    wchar_t work[HOST_EXPAND_CAPACITY];

    if (text == 0) return GROUP_NULL_TEXT;
    /* What fits beside "%@comma[", "]" and the terminator. */
    if (TextLength(text) > HOST_EXPAND_CAPACITY - 10) return GROUP_TEXT_TOO_LONG;
    TextCopy(work, HOST_EXPAND_CAPACITY, Open);
    TextAppend(work, HOST_EXPAND_CAPACITY, text);
    TextAppend(work, HOST_EXPAND_CAPACITY, L"]");
    if (ExpandVariables(work, 1) != 0) return GROUP_EXPANSION_FAILED;
    if (TextLength(work) >= FIELD_CAPACITY) return GROUP_RESULT_TOO_LONG;
    TextCopy(text, FIELD_CAPACITY, work);
    return 0;
}

int GetDescription(const wchar_t *path, wchar_t *out, unsigned int entry)
{
    wchar_t work[HOST_EXPAND_CAPACITY];

    if (path == 0 || out == 0) return DESCRIPTION_NULL_ARGUMENT;
    if (path[0] == 0 || !PathIs(path, entry, PATH_EXISTS)) return DESCRIPTION_NO_FILE;

    /* The path is data for the host, never its code: a "]" would end the
    ** function's argument early, so such a path is not handed over at all,
    ** and every "%" is doubled so that the host reads it as a plain "%". */
    if (TextFindUnit(path, L']') >= 0) {
        TextCopy(out, DESCRIPTION_CAPACITY, EmDash);
        return 0;
    }
    TextCopy(work, HOST_EXPAND_CAPACITY, L"%@descript[");
    if (AppendDoublingPercents(work, HOST_EXPAND_CAPACITY, path) != TEXT_OK ||
        TextAppend(work, HOST_EXPAND_CAPACITY, L"]") != TEXT_OK) {
        return DESCRIPTION_PATH_TOO_LONG;
    }

    /* A failed expansion leaves the call's own text in work; it is no
    ** description. */
    if (ExpandVariables(work, 1) != 0) {
        TextCopy(out, DESCRIPTION_CAPACITY, EmDash);
        return 0;
    }
    if (TextLength(work) >= DESCRIPTION_CAPACITY) return DESCRIPTION_TOO_LONG;
    TextCopy(out, DESCRIPTION_CAPACITY, work[0] != 0 ? work : EmDash);
    return 0;
}

/*
** size / 2^shift with two decimals and a full stop, whatever the locale,
** worked out exactly from the integer size; a remainder of exactly half a
** hundredth rounds to the even hundredth, as a correctly rounding "%.2f"
** does.
*/
static void FormatScaled(wchar_t *out, unsigned long long size, int shift)
{
    unsigned long long mask = (1ULL << shift) - 1;
    unsigned long long whole = size >> shift;
    unsigned long long scaled = (size & mask) * 100;    /* below 100 * 2^30 */
    unsigned long long hundredths = scaled >> shift;
    unsigned long long remainder = scaled & mask;
    unsigned long long half = 1ULL << (shift - 1);

    if (remainder > half || (remainder == half && (hundredths & 1) != 0)) hundredths++;
    if (hundredths == 100) {
        whole++;
        hundredths = 0;
    }
    wsprintfW(out, L"%I64u.%02u", whole, (unsigned)hundredths);
}

int FormatSize(wchar_t *out, unsigned long long size)
{
    wchar_t number[FIELD_CAPACITY];
    int shift = 0;
    const wchar_t *unit = 0;

    wsprintfW(number, L"%I64u", size);
    GroupDigits(number);
    TextCopy(out, FIELD_CAPACITY, number);
    TextAppend(out, FIELD_CAPACITY, L" bytes");

    if (size >= (1ULL << 30)) {
        shift = 30;
        unit = L"GB";
    } else if (size >= (1ULL << 20)) {
        shift = 20;
        unit = L"MB";
    } else if (size >= (1ULL << 10)) {
        shift = 10;
        unit = L"KB";
    }
    if (unit == 0) return 0;

    FormatScaled(number, size, shift);
    GroupDigits(number);
    TextAppend(out, FIELD_CAPACITY, L"  (");
    TextAppend(out, FIELD_CAPACITY, number);
    TextAppend(out, FIELD_CAPACITY, L" ");
    TextAppend(out, FIELD_CAPACITY, unit);
    TextAppend(out, FIELD_CAPACITY, L")");
    return 0;
}

/* Appends a count, grouped, and its word: singular for exactly 1. */
static void AppendCount(wchar_t *out, int count, const wchar_t *one, const wchar_t *many)
{
    wchar_t number[FIELD_CAPACITY];
    wsprintfW(number, L"%d", count);
    GroupDigits(number);
    TextAppend(out, FIELD_CAPACITY, number);
    TextAppend(out, FIELD_CAPACITY, count == 1 ? one : many);
}

/* 1 for the names "." and "..", which stand for a directory and its parent. */
static int IsDotEntry(const wchar_t *name)
{
    return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

int FormatContents(wchar_t *out, const wchar_t *directory)
{
    enum { PATTERN_CAPACITY = 32768 };
    wchar_t pattern[PATTERN_CAPACITY];
    WIN32_FIND_DATAW entry;
    HANDLE search;
    int files = 0, subdirs = 0;

    /* A directory whose pattern would not fit counts as one that cannot be
    ** listed.  Counting needs no short names, and the system may fetch the
    ** entries in larger batches. */
    if (TextCopy(pattern, PATTERN_CAPACITY, directory) == TEXT_OK &&
        TextAppend(pattern, PATTERN_CAPACITY, L"\\*") == TEXT_OK) {
        search = FindFirstFileExW(FileSystemPath(pattern, pattern, PATTERN_CAPACITY), FindExInfoBasic,
                                  &entry, FindExSearchNameMatch, 0, FIND_FIRST_EX_LARGE_FETCH);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                    files++;
                } else if (!IsDotEntry(entry.cFileName)) {
                    subdirs++;
                }
            } while (FindNextFileW(search, &entry));
            /* A listing cut short is one that cannot be had: the entries
            ** seen so far are not the directory's contents. */
            if (GetLastError() != ERROR_NO_MORE_FILES) files = subdirs = 0;
            FindClose(search);
        }
    }

    out[0] = 0;
    AppendCount(out, files, L" file, ", L" files, ");
    AppendCount(out, subdirs, L" subdir", L" subdirs");
    return 0;
}

int FormatAttributes(wchar_t *text, unsigned int attributes)
{
    static const struct {
        unsigned int bit;
        const wchar_t *word;
    } Words[] = {
        {0x1, L"ReadOnly "}, {0x2, L"Hidden "},    {0x4, L"System "},   {0x20, L"Archive "},
        {0x10, L"Dir "},     {0x4000, L"Encrypt "}, {0x800, L"Compress "}, {0x2000, L"noIndex "},
        {0x400, L"Junction "}, {0x1000, L"Offline "}, {0x200, L"Sparse "}, {0x100, L"Temp "},
    };
    unsigned int i;

    for (i = 0; i < sizeof Words / sizeof Words[0]; i++) {
        if (attributes & Words[i].bit) TextAppend(text, FIELD_CAPACITY, Words[i].word);
    }
    if ((attributes & ~0x80u) == 0) TextAppend(text, FIELD_CAPACITY, L"- none -");
    return 0;
}
