/*
** Section 3: counting a directory's contents with FormatContents, against a
** bare FindFirstFileExW/FindNextFileW loop over the same directory (the
** entries' basic information, in large batches, as FormatContents asks for
** them), at 1,000,
** 10,000 and 100,000 entries (one in a hundred a subdirectory).  The
** directories are made by scripts/bench from the Linux side: under Wine,
** making a file in a large directory first looks through the whole
** directory for the name in any case, so 100,000 files made from here take
** many minutes.
*/
#include <windows.h>
#include <stdio.h>

#include "bench.h"
#include "report.h"
#include "fileinfo/formatters.h"

namespace {

enum { SIZES = 3, DIRECTORY_PATH = 300 };

struct DirectoryCase {
    int entries;
    const char *label;            /* the entries, for reading */
    wchar_t path[DIRECTORY_PATH];
    wchar_t pattern[DIRECTORY_PATH];
};

/* Entries of a directory, "." and ".." left out; -1 when it cannot be
** listed. */
int CountEntries(const wchar_t *pattern)
{
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(pattern, &entry);
    int count = 0;
    if (search == INVALID_HANDLE_VALUE) return -1;
    do {
        if (lstrcmpW(entry.cFileName, L".") != 0 && lstrcmpW(entry.cFileName, L"..") != 0) count++;
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return count;
}

/* The floor: every entry read, and nothing else. */
void BareLoopBody(void *context, long long count)
{
    DirectoryCase *item = (DirectoryCase *)context;
    WIN32_FIND_DATAW entry;
    long long i;
    for (i = 0; i < count; i++) {
        HANDLE search = FindFirstFileExW(item->pattern, FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr,
                                         FIND_FIRST_EX_LARGE_FETCH);
        if (search == INVALID_HANDLE_VALUE) continue;
        do {
            Sink += entry.dwFileAttributes;
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
}

void FormatContentsBody(void *context, long long count)
{
    DirectoryCase *item = (DirectoryCase *)context;
    wchar_t out[FIELD_CAPACITY];
    long long i;
    for (i = 0; i < count; i++) {
        FormatContents(out, item->path);
        Sink += out[0];
    }
}

}  // namespace

void BenchDirectoryCounts(const BenchOptions &options)
{
    static DirectoryCase cases[SIZES] = {
        {1000, "1,000", {}, {}}, {10000, "10,000", {}, {}}, {100000, "100,000", {}, {}}};
    Timing results[SIZES][2];
    double perEntry[SIZES][2];
    wchar_t text[FIELD_CAPACITY];
    char what[200], note[200], shown[FIELD_CAPACITY];
    int s;

    for (s = 0; s < SIZES; s++) {
        wsprintfW(cases[s].path, L"%s\\dir-%d", options.dataFolder, cases[s].entries);
        wsprintfW(cases[s].pattern, L"%s\\*", cases[s].path);
        if (CountEntries(cases[s].pattern) != cases[s].entries) {
            printf("The data folder has no directory of %s entries (scripts/bench makes it); "
                   "section 3 left out.\n\n",
                   cases[s].label);
            return;
        }
    }

    for (s = 0; s < SIZES; s++) {
        TimedCase timed[2] = {{BareLoopBody, &cases[s]}, {FormatContentsBody, &cases[s]}};
        TimeTogether(timed, 2, options.slowSamples, options.sampleSeconds, results[s]);
        perEntry[s][0] = results[s][0].median / cases[s].entries;
        perEntry[s][1] = results[s][1].median / cases[s].entries;
    }

    PrintTimingTable("### 3. Counting a directory's contents (time per directory)");
    for (s = 0; s < SIZES; s++) {
        double ratio = results[s][1].median / results[s][0].median;
        FormatContents(text, cases[s].path);
        Narrow(text, shown, sizeof shown);
        snprintf(what, sizeof what, "FormatContents, %s entries (\"%s\")", cases[s].label, shown);
        snprintf(note, sizeof note, "%.0f ns per entry, floor %.0f; ratio goal <= 1.05: %s",
                 perEntry[s][1], perEntry[s][0], ratio <= 1.05 ? "met" : "missed");
        PrintTimingRow(what, results[s][1], &results[s][0], note);
    }
    PrintTableEnd();
    printf("Growth from 1,000 to 100,000 entries, per entry (1.00 is linear): FormatContents "
           "%.2f, the bare loop %.2f.\n\n",
           perEntry[SIZES - 1][1] / perEntry[0][1], perEntry[SIZES - 1][0] / perEntry[0][0]);
}
