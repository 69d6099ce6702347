/*
** Section 5: the two parsers, ParseHotkeyName and SplitArguments, on
** typical and on worst-case inputs, in nanoseconds per call.
*/
#include <windows.h>
#include <stdio.h>

#include "bench.h"
#include "report.h"
#include "command/arguments.h"
#include "frame/plugin.h"
#include "hotkeys/hotkey_names.h"

namespace {

enum { LONG_NAME = 2048, LONG_LINE = 8192, FULL_TABLE = (ARGUMENT_SLOTS + 1) * (ARGUMENT_UNITS + 1) };

struct ParseCase {
    const char *what;
    int extended;             /* UseExtendedKeys while it runs */
    const wchar_t *text;
};

void ParseNameBody(void *context, long long count)
{
    ParseCase *item = (ParseCase *)context;
    long long i;
    UseExtendedKeys = item->extended;
    for (i = 0; i < count; i++) Sink += ParseHotkeyName(item->text);
}

void SplitBody(void *context, long long count)
{
    ParseCase *item = (ParseCase *)context;
    long long i;
    for (i = 0; i < count; i++) {
        SplitArguments(item->text);
        Sink += ArgumentLengths[0];
    }
}

/* Fills text with copies of piece up to length units, then appends last. */
void Repeat(wchar_t *text, int length, const wchar_t *piece, const wchar_t *last)
{
    int pieceLength = lstrlenW(piece), lastLength = lstrlenW(last), used = 0;
    while (used + pieceLength + lastLength <= length) {
        CopyMemory(text + used, piece, pieceLength * sizeof(wchar_t));
        used += pieceLength;
    }
    CopyMemory(text + used, last, (lastLength + 1) * sizeof(wchar_t));
}

void TimeCases(const char *title, TimedBody body, ParseCase *cases, int count,
               const BenchOptions &options)
{
    Timing results[8];
    TimedCase timed[8];
    int c;
    for (c = 0; c < count; c++) {
        timed[c].body = body;
        timed[c].context = &cases[c];
    }
    TimeTogether(timed, count, options.samples, options.sampleSeconds, results);
    PrintTimingTable(title);
    for (c = 0; c < count; c++) PrintTimingRow(cases[c].what, results[c], nullptr, nullptr);
    PrintTableEnd();
}

}  // namespace

void BenchParsing(const BenchOptions &options)
{
    static wchar_t manyAlts[LONG_NAME], longKey[LONG_NAME];
    static wchar_t options8k[LONG_LINE], spaces8k[LONG_LINE], fullTable[FULL_TABLE];
    int savedExtended = UseExtendedKeys, s;

    /* 2,047 units: "Alt" is the last modifier word looked for, so each word
    ** is compared with all of them. */
    Repeat(manyAlts, LONG_NAME - 1, L"Alt-", L"F4");
    Repeat(longKey, LONG_NAME - 1, L"Q", L"");
    ParseCase names[] = {
        {"ParseHotkeyName, classic table, Ctrl-Q", 0, L"Ctrl-Q"},
        {"ParseHotkeyName, classic table, alt-f4", 0, L"alt-f4"},
        {"ParseHotkeyName, extended table, Ctrl-Alt-Shift-F12", 1, L"Ctrl-Alt-Shift-F12"},
        {"ParseHotkeyName, extended table, Alt-BkSp (through an alias)", 1, L"Alt-BkSp"},
        {"ParseHotkeyName, extended table, A", 1, L"A"},
        {"ParseHotkeyName, worst case: 2,047 units, Alt- 511 times and F4", 1, manyAlts},
        {"ParseHotkeyName, worst case: a key part of 2,047 units", 1, longKey},
    };
    TimeCases("### 5. Parsing: ParseHotkeyName (ns per call)", ParseNameBody, names,
              sizeof names / sizeof names[0], options);
    UseExtendedKeys = savedExtended;

    /* 8,191 units of options run together: 4,095 arguments, 128 kept. */
    Repeat(options8k, LONG_LINE - 1, L"/x", L"/");
    /* 8,191 ideographic spaces: each one asks the platform for its class. */
    for (s = 0; s < LONG_LINE - 1; s++) spaces8k[s] = 0x3000;
    spaces8k[LONG_LINE - 1] = 0;
    /* 128 arguments of 2,048 units and one more: every slot filled. */
    for (s = 0; s < ARGUMENT_SLOTS + 1; s++) {
        int start = s * (ARGUMENT_UNITS + 1), i;
        for (i = 0; i < ARGUMENT_UNITS; i++) fullTable[start + i] = L'a';
        fullTable[start + ARGUMENT_UNITS] = s < ARGUMENT_SLOTS ? L' ' : 0;
    }
    ParseCase splits[] = {
        {"SplitArguments, empty text", 0, L""},
        {"SplitArguments, /c:on/t:utc ctrl-q", 0, L"/c:on/t:utc ctrl-q"},
        {"SplitArguments, /f:\"C:\\My Files\\notes.txt\"", 0, L"/f:\"C:\\My Files\\notes.txt\""},
        {"SplitArguments, worst case: 8,191 units of /x/x/x...", 0, options8k},
        {"SplitArguments, worst case: 8,191 units of U+3000 (a class query each)", 0, spaces8k},
        {"SplitArguments, worst case: 129 words of 2,048 units (every slot full)", 0, fullTable},
    };
    TimeCases("### 5. Parsing: SplitArguments (ns per call)", SplitBody, splits,
              sizeof splits / sizeof splits[0], options);
}
