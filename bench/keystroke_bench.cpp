/*
** Section 1 and 2: a keystroke that is not the hotkey, on a classic host
** (a key code) and on an extended host (a key name), against the floor of
** the three modifier queries alone, also while Shift is held (typing a
** capital), which Wine answers differently.  Only a keystroke of the
** hotkey's own key with other modifiers makes the queries; every other key
** ends before them.  Then the same with the modifier query replaced by a
** stub, which leaves the plug-in's own work; and the heap allocations made
** during the loops.
**
** What is timed is the `key` of Tirvalo.dll beside this program: the DLL
** that the tests run against and scripts/release packs, loaded as the host
** loads it.  Its host version and hotkey are set through its own entry
** points, between the timings, never inside them.
*/
#include <windows.h>
#include <stdio.h>

#include "bench.h"
#include "counting.h"
#include "report.h"
#include "frame/host_api.h"
#include "host/host_control.h"
#include "tests/support/import_table.h"
#include "tests/support/process_counters.h"

namespace {

/* The DLL's entry points. */
struct {
    HMODULE module;
    int (*initialize)(void);
    int (*tirvalo)(const wchar_t *arguments);
    int (*key)(KeystrokeRecord *record);
} Plugin;

struct KeyCase {
    const char *what;
    const wchar_t *hostVersion;   /* "23.01": classic keys; "24.00": extended */
    const wchar_t *hotkey;        /* the hotkey while it runs */
    int code;
    const wchar_t *name;          /* the key name, with code 0 */
    wchar_t nameBuffer[64];
    wchar_t line[32];
    KeystrokeRecord record;
};

void KeyBody(void *context, long long count)
{
    KeyCase *item = (KeyCase *)context;
    long long i;
    for (i = 0; i < count; i++) Sink += Plugin.key(&item->record);
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

/* Loads the DLL as a host of the case's version, with the case's hotkey;
** what the DLL writes meanwhile is kept from the tables. */
void UsePlugin(const KeyCase *item)
{
    KorrashCapture(1);
    KorrashSetInternal(L"_4ver", item->hostVersion);
    Plugin.initialize();
    Plugin.tirvalo(item->hotkey);
    KorrashClearCaptured();
    KorrashCapture(0);
}

/* The note of a row: the work above the floor (the median of the
** differences within each round), against its goal.  Below the noise it
** may come out negative; it is shown as it is. */
void OwnWorkNote(const Timing &subject, double goal, const char *goalText, char *note,
                 int capacity)
{
    char own[32];
    double difference = subject.aboveFirst;
    FormatDuration(difference, own, sizeof own);
    snprintf(note, capacity, "above the floor: %s (goal %s): %s", own, goalText,
             difference <= goal ? "met" : "missed");
}

/* Times every case against the floor, each case in turn with the floor
** alone, so that the DLL's state changes only between the timings; the
** floor's figures are those timed beside the first case. */
void TimeCases(KeyCase *cases, int count, const BenchOptions &options, Timing *floor, Timing *results)
{
    int c;
    for (c = 0; c < count; c++) {
        TimedCase pair[2] = {{ModifierFloorBody, nullptr}, {KeyBody, &cases[c]}};
        Timing timings[2];
        UsePlugin(&cases[c]);
        TimeTogether(pair, 2, options.samples, options.sampleSeconds, timings);
        if (c == 0) *floor = timings[0];
        results[c] = timings[1];
    }
}

}  // namespace

void BenchKeystrokes(const BenchOptions &options)
{
    enum { CASES = 4, LOOP = 100000 };
    static KeyCase cases[CASES] = {
        {"key, classic host, code 97 (a)", L"23.01", L"ctrl-q", 97, nullptr, {}, {}, {}},
        {"key, classic host, code 17 (Ctrl-Q) when the hotkey is Ctrl-Shift-Q", L"23.01",
         L"ctrl-shift-q", 17, nullptr, {}, {}, {}},
        {"key, extended host, name Ctrl-Alt-Shift-F12", L"24.00", L"ctrl-q", 0, L"Ctrl-Alt-Shift-F12",
         {}, {}, {}},
        {"key, extended host, name A", L"24.00", L"ctrl-q", 0, L"A", {}, {}, {}},
    };
    static KeyCase capital = {"key, classic host, code 65 (A) with Shift held", L"23.01", L"ctrl-q",
                              65, nullptr, {}, {}, {}};
    static const double Goals[CASES] = {10, 10, 1000, 1000};
    static const char *const GoalTexts[CASES] = {"<= 10 ns", "<= 10 ns", "<= 1 us", "<= 1 us"};
    Timing floor, results[CASES], held[2];
    int shiftHeld = 0;
    char note[160], what[160];
    void **ownSlot, **pluginSlot;
    int c, pass;

    Plugin.module = LoadLibraryW(L"Tirvalo.dll");
    Plugin.initialize = (int (*)(void))(void *)GetProcAddress(Plugin.module, "InitializePlugin");
    Plugin.tirvalo = (int (*)(const wchar_t *))(void *)GetProcAddress(Plugin.module, "tirvalo");
    Plugin.key = (int (*)(KeystrokeRecord *))(void *)GetProcAddress(Plugin.module, "key");
    if (Plugin.initialize == nullptr || Plugin.tirvalo == nullptr || Plugin.key == nullptr) {
        printf("Cannot load Tirvalo.dll beside the benchmark: no keystroke figures.\n\n");
        return;
    }
    KorrashSetInternal(L"_build", L"200");
    for (c = 0; c < CASES; c++) Prepare(&cases[c]);
    Prepare(&capital);

    /* First with the real modifier queries, then with a stub in their
    ** place, in the DLL and in the floor alike. */
    ownSlot = FindImportSlot(GetModuleHandleW(nullptr), "user32.dll", "GetAsyncKeyState");
    pluginSlot = FindImportSlot(Plugin.module, "user32.dll", "GetAsyncKeyState");
    for (pass = 0; pass < 2; pass++) {
        void *realOwn = nullptr, *realPlugin = nullptr;
        if (pass == 1) {
            if (ownSlot == nullptr || pluginSlot == nullptr) break;
            realOwn = WriteImportSlot(ownSlot, (void *)NoKeyHeld);
            realPlugin = WriteImportSlot(pluginSlot, (void *)NoKeyHeld);
        }
        TimeCases(cases, CASES, options, &floor, results);
        if (pass == 1) {
            WriteImportSlot(ownSlot, realOwn);
            WriteImportSlot(pluginSlot, realPlugin);
        }
        if (pass == 0) {
            TimedCase capitals[2] = {{ModifierFloorBody, nullptr}, {KeyBody, &capital}};
            UsePlugin(&capital);
            shiftHeld = SetShift(1);
            TimeTogether(capitals, 2, options.samples, options.sampleSeconds, held);
            SetShift(0);
        }

        PrintTimingTable(pass == 0 ? "### 1-2. A keystroke that is not the hotkey (ns per call)"
                                   : "### 1-2. The same, with GetAsyncKeyState replaced by a stub "
                                     "that returns at once: the plug-in's own work");
        PrintTimingRow(pass == 0 ? "floor: GetAsyncKeyState for Shift, Ctrl and Alt"
                                 : "floor: three calls of the stub",
                       floor, nullptr, pass == 0 ? "the floor of the next four rows" : nullptr);
        for (c = 0; c < CASES; c++) {
            OwnWorkNote(results[c], Goals[c], GoalTexts[c], note, sizeof note);
            PrintTimingRow(cases[c].what, results[c], &floor, note);
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

    /* Allocations, counted during loops of LOOP calls each; the DLL's own
    ** calls are those the table gives as the plug-in's. */
    printf("Heap allocations during 100,000 calls (counted at every module's allocation "
           "imports; heap blocks by walking the process's heaps):\n\n");
    printf("| Loop | By the plug-in | Anywhere in the process | Heap blocks after - before | "
           "GetAsyncKeyState per call |\n");
    printf("|---|---:|---:|---:|---:|\n");
    CountedModule = Plugin.module;
    for (c = -1; c < CASES; c++) {
        CallCounts counts;
        long long before, after;
        if (c >= 0) UsePlugin(&cases[c]);
        before = BusyHeapBlocks();
        StartCounting();
        /* Through a pointer: inlined, the floor's loop would load the
        ** import's address before the counting wrappers are put in. */
        TimedBody body = c < 0 ? ModifierFloorBody : KeyBody;
        body(c < 0 ? nullptr : &cases[c], LOOP);
        StopCounting(&counts);
        after = BusyHeapBlocks();
        snprintf(what, sizeof what, "%s", c < 0 ? "floor: GetAsyncKeyState x 3" : cases[c].what);
        printf("| %s | %lld | %lld | %+lld | %.2f |\n", what, Allocations(counts.own),
               Allocations(counts.all), after - before,
               (double)counts.all[COUNT_GET_ASYNC_KEY_STATE] / LOOP);
    }
    CountedModule = nullptr;
    PrintTableEnd();
}
