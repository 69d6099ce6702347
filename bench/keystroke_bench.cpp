/*
** Section 1 and 2: a keystroke that is not the hotkey, on a classic host
** (a key code) and on an extended host (a key name), against the floor of
** the three modifier queries alone, also while Shift is held (typing a
** capital), which Wine answers differently.  Only a keystroke of the
** hotkey's own key with other modifiers makes the queries; every other key
** ends before them; then the same with the modifier
** query replaced by a stub, which leaves the plug-in's own work; and the
** heap allocations made during the loops.
*/
#include <windows.h>
#include <stdio.h>

#include "bench.h"
#include "counting.h"
#include "report.h"
#include "frame/plugin.h"
#include "entry/entry.h"
#include "settings/settings.h"
#include "tests/support/import_table.h"
#include "tests/support/process_counters.h"

namespace {

struct KeyCase {
    const char *what;
    int extended;               /* UseExtendedKeys while it runs */
    int code;
    int hotkey;                 /* the hotkey while it runs */
    const wchar_t *name;        /* the key name, with code 0 */
    wchar_t nameBuffer[64];
    wchar_t line[32];
    KeystrokeRecord record;
};

void KeyBody(void *context, long long count)
{
    KeyCase *item = (KeyCase *)context;
    long long i;
    UseExtendedKeys = item->extended;
    Settings.Hotkey = item->hotkey;
    for (i = 0; i < count; i++) Sink += key(&item->record);
}

/* What key cannot do without: the state of Shift, Ctrl and Alt. */
void ModifierFloorBody(void *, long long count)
{
    long long i;
    for (i = 0; i < count; i++) {
        Sink += GetAsyncKeyState(VK_SHIFT);
        Sink += GetAsyncKeyState(VK_CONTROL);
        Sink += GetAsyncKeyState(VK_MENU);
    }
}

SHORT WINAPI NoKeyHeld(int) { return 0; }

/* Presses or releases Shift as the keyboard would; 1 when GetAsyncKeyState
** then reports it as asked. */
int SetShift(int down)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = VK_SHIFT;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof input);
    return ((GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0) == (down != 0);
}

void Prepare(KeyCase *item)
{
    lstrcpyW(item->line, L"list notes.txt");
    ZeroMemory(&item->record, sizeof item->record);
    item->record.keyCode = item->code;
    item->record.line = item->line;
    item->record.cursor = item->line + lstrlenW(item->line);
    if (item->name != nullptr) {
        lstrcpynW(item->nameBuffer, item->name, 64);
        item->record.keyName = item->nameBuffer;
    }
}

/* The note of a row: the work above the floor (the median of the
** differences within each round, the floor timed first), against its goal.
** Below the noise it may come out negative; it is shown as it is. */
void OwnWorkNote(const Timing &subject, double goal, const char *goalText, char *note,
                 int capacity)
{
    char own[32];
    double difference = subject.aboveFirst;
    FormatDuration(difference, own, sizeof own);
    snprintf(note, capacity, "above the floor: %s (goal %s): %s", own, goalText,
             difference <= goal ? "met" : "missed");
}

}  // namespace

void BenchKeystrokes(const BenchOptions &options)
{
    enum { CASES = 4, LOOP = 100000 };
    static KeyCase cases[CASES] = {
        {"key, classic host, code 97 (a)", 0, 97, DefaultHotkey, nullptr, {}, {}, {}},
        {"key, classic host, code 17 (Ctrl-Q) when the hotkey is Ctrl-Shift-Q", 0, 17, 0x20011,
         nullptr, {}, {}, {}},
        {"key, extended host, name Ctrl-Alt-Shift-F12", 1, 0, DefaultHotkey, L"Ctrl-Alt-Shift-F12",
         {}, {}, {}},
        {"key, extended host, name A", 1, 0, DefaultHotkey, L"A", {}, {}, {}},
    };
    static KeyCase capital = {"key, classic host, code 65 (A) with Shift held", 0, 65, DefaultHotkey,
                              nullptr, {}, {}, {}};
    static const double Goals[CASES] = {50, 50, 1000, 1000};
    static const char *const GoalTexts[CASES] = {"<= 50 ns", "<= 50 ns", "<= 1 us", "<= 1 us"};
    TimedCase timed[CASES + 1];
    Timing results[CASES + 1], held[2];
    int shiftHeld = 0;
    char note[160], what[160];
    int savedExtended = UseExtendedKeys;
    int savedHotkey = Settings.Hotkey;
    void **slot;
    int c, pass;

    timed[0].body = ModifierFloorBody;
    timed[0].context = nullptr;
    for (c = 0; c < CASES; c++) {
        Prepare(&cases[c]);
        timed[c + 1].body = KeyBody;
        timed[c + 1].context = &cases[c];
    }
    Prepare(&capital);

    /* First with the real modifier queries, then with a stub in their place. */
    slot = FindImportSlot(GetModuleHandleW(nullptr), "user32.dll", "GetAsyncKeyState");
    for (pass = 0; pass < 2; pass++) {
        void *real = nullptr;
        if (pass == 1) {
            if (slot == nullptr) break;
            real = WriteImportSlot(slot, (void *)NoKeyHeld);
        }
        TimeTogether(timed, CASES + 1, options.samples, options.sampleSeconds, results);
        if (pass == 1) WriteImportSlot(slot, real);
        if (pass == 0) {
            TimedCase capitals[2] = {{ModifierFloorBody, nullptr}, {KeyBody, &capital}};
            shiftHeld = SetShift(1);
            TimeTogether(capitals, 2, options.samples, options.sampleSeconds, held);
            SetShift(0);
        }

        PrintTimingTable(pass == 0 ? "### 1-2. A keystroke that is not the hotkey (ns per call)"
                                   : "### 1-2. The same, with GetAsyncKeyState replaced by a stub "
                                     "that returns at once: the plug-in's own work");
        PrintTimingRow(pass == 0 ? "floor: GetAsyncKeyState for Shift, Ctrl and Alt"
                                 : "floor: three calls of the stub",
                       results[0], nullptr, pass == 0 ? "the floor of the next four rows" : nullptr);
        for (c = 0; c < CASES; c++) {
            OwnWorkNote(results[c + 1], Goals[c], GoalTexts[c], note, sizeof note);
            PrintTimingRow(cases[c].what, results[c + 1], &results[0], note);
        }
        if (pass == 0) {
            PrintTimingRow(shiftHeld ? "floor: the same, with Shift held"
                                     : "floor: the same, Shift NOT held (the key-down was not seen)",
                           held[0], nullptr, "the floor of the row below");
            OwnWorkNote(held[1], Goals[0], GoalTexts[0], note, sizeof note);
            PrintTimingRow(capital.what, held[1], &held[0], note);
        }
        PrintTableEnd();
    }

    /* Allocations, counted during loops of LOOP calls each. */
    printf("Heap allocations during 100,000 calls (counted at every module's allocation "
           "imports; heap blocks by walking the process's heaps):\n\n");
    printf("| Loop | By the plug-in | Anywhere in the process | Heap blocks after - before | "
           "GetAsyncKeyState per call |\n");
    printf("|---|---:|---:|---:|---:|\n");
    for (c = 0; c <= CASES; c++) {
        CallCounts counts;
        long long before, after;
        before = BusyHeapBlocks();
        StartCounting();
        timed[c].body(timed[c].context, LOOP);
        StopCounting(&counts);
        after = BusyHeapBlocks();
        snprintf(what, sizeof what, "%s", c == 0 ? "floor: GetAsyncKeyState x 3" : cases[c - 1].what);
        printf("| %s | %lld | %lld | %+lld | %.2f |\n", what, Allocations(counts.own),
               Allocations(counts.all), after - before,
               (double)counts.own[COUNT_GET_ASYNC_KEY_STATE] / LOOP);
    }
    PrintTableEnd();
    UseExtendedKeys = savedExtended;
    Settings.Hotkey = savedHotkey;
}
