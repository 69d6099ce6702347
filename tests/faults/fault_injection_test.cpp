// Every failure, injected.  Each path of the plug-in runs once to record, in
// order, every call Tirvalo.dll makes to the platform and to the host; then
// once more for each recorded call that can fail, with that call failing.
// After every run: the process still runs (a fault ends it with a report,
// fault_harness.cpp), nothing is left held, no system setting is left
// changed, the result, the output and the options afterwards are one of the
// outcomes the path allows for a failure of that call, and a window that
// still opens shows, field by field, what it shows without a failure, or an
// empty field, or "—", or what the path names as the text of a fact that
// could only partly be had.  The paths are one table, a row a path, and
// each path is a test of its own.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdio.h>
#include <string.h>
#include <wctype.h>

#include <algorithm>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "dialog/resource_ids.h"
#include "fault_harness.h"
#include "fault_table.h"
#include "tests/support/clipboard.h"
#include "tests/support/host_state.h"
#include "tests/support/import_table.h"
#include "tests/support/plain_window.h"
#include "tests/support/process_counters.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/shell_runner.h"
#include "tests/support/temp_folder.h"

namespace {

// An outcome: what a run gives, and the failing calls that may give it.
struct Outcome {
    const char *after;      // their names, blank-separated; null: a failure of any call, or none
    int result;
    std::wstring out;       // standard output (Same: as without a failure)
    std::wstring err;       // standard error
    int beeps;
    std::wstring state;     // the options afterwards, and as saved (ReadState)
    bool window;            // a window opened
};

struct FieldText {
    int id;
    std::wstring text;
};

// What is set before every run besides the options in memory (Ctrl-R, off,
// counts on): options saved per user (Ctrl-Alt-Shift-W, a key of newer hosts
// only, UTC, no counts) and per machine (Ctrl-E, off, no counts), or per
// machine only, or none saved; with none saved, the plug-in's own thread in
// front, a batch file running, a text on the clipboard, no visible desktop
// (the window's text is written, and judged as the window would be), or a
// terminal's pseudo console.
enum Preparation {
    NONE_SAVED, SAVED_PER_USER, SAVED_PER_MACHINE, OWN_THREAD_IN_FRONT, IN_A_BATCH_FILE, TEXT_ON_CLIPBOARD,
    NO_DESKTOP, IN_A_TERMINAL
};

// How a path enters the plug-in: loading; the command; the hotkey (Ctrl-R,
// as Prepare sets it) at the end of a line, giving the keystroke's code
// afterwards (0 when consumed); the command with Ctrl+C pressed in its
// window, giving the command's result, and 100 more when the clipboard
// keeps what it had, 200 more when it was emptied and the texts not placed
// (added by RunOnce); the help.
enum Entry { LOAD, COMMAND, HOTKEY, COPY_KEYS, HELP };

struct Path {
    const char *test;                  // the name of its test
    const char *name;                  // its name in the figures
    Preparation prepare;               // before every run, with nothing failing
    Entry entry;
    std::wstring text;                 // the command's arguments, or the line
    std::vector<Outcome> outcomes;     // the first is the one without a failure
    std::vector<FieldText> shows = {};     // what the window shows without a failure
    std::vector<FieldText> mayShow = {};   // what a field may show after a failure, beside "" and "—"
    const char *from = nullptr;            // the first call failed; those before it fail on other paths
};

// A path as GoogleTest prints it: by its name.
void PrintTo(const Path &path, std::ostream *out)
{
    *out << path.name;
}

const std::wstring Same = L"<as without a failure>";
const std::wstring Prefix = L"Tirvalo plugin: ";
const wchar_t StartOptions[] = L"Ctrl-R OFF ON";   // what Prepare sets
const char Refusals[] = "QueryTrueName FindFirstFileW DialogBoxParamW";

// The files the paths name, made by MakeWorld.  A short folder: Wine's edit
// control keeps a block (its line-break data) after every window whose full
// name wraps, which would hide a block the plug-in leaves.
const std::wstring Folder = L"C:\\tf" + std::to_wstring(GetCurrentProcessId());
const std::wstring Notes = Folder + L"\\notes.tvt";
const std::wstring Program = Folder + L"\\prog.exe";
const std::wstring Directory = Folder + L"\\A Folder";
const std::wstring Percent = Folder + L"\\50%%off.txt";   // 50%off.txt, as typed

std::wstring FileAddress(std::wstring path)
{
    for (wchar_t &c : path) c = c == L'\\' ? L'/' : c;
    return L"file:///" + path;
}

void MakeWorld()
{
    RemoveTree(Folder);
    CreateDirectoryW(Folder.c_str(), nullptr);
    WriteBytes(Notes, std::string(1536, 'n'));
    WriteBytes(Folder + L"\\descript.ion", "notes.tvt Meeting notes\r\n");
    CopyFileW((TestDirectory() + L"\\version_sample.dll").c_str(), Program.c_str(), FALSE);
    CreateDirectoryW(Directory.c_str(), nullptr);
    WriteBytes(Directory + L"\\one.txt", "1");
    CreateDirectoryW((Directory + L"\\sub").c_str(), nullptr);
    WriteBytes(Folder + L"\\50%off.txt", "hello");

    RegistrySandbox::SetDefault(HKEY_CURRENT_USER, L"Software\\Classes\\.tvt", L"tvtfile");
    RegistrySandbox::SetDefault(HKEY_CURRENT_USER, L"Software\\Classes\\tvtfile", L"Tirvalo Test Document");
    RegistrySandbox::SetDefault(HKEY_LOCAL_MACHINE, L"Software\\Classes\\tvtfile\\shell\\open\\command",
                                L"\"C:\\tvt.exe\" \"%1\"");
    RegistrySandbox::SetDefault(HKEY_CLASSES_ROOT, L".exe", L"exefile");
    RegistrySandbox::SetDefault(HKEY_LOCAL_MACHINE, L"Software\\Classes\\exefile", L"Application");
    RegistrySandbox::SetDefault(HKEY_LOCAL_MACHINE, L"Software\\Classes\\exefile\\shell\\open\\command",
                                L"\"%1\" %*");
}

// Sets what preparation names (the enum's comment), before every run.
void Prepare(Preparation preparation)
{
    RegistrySandbox::DeleteSettings(HKEY_CURRENT_USER);
    RegistrySandbox::DeleteSettings(HKEY_LOCAL_MACHINE);
    if (preparation == SAVED_PER_USER) RegistrySandbox::PutAll(HKEY_CURRENT_USER, 0x70011, 2, 0);
    if (preparation == SAVED_PER_USER || preparation == SAVED_PER_MACHINE) {
        RegistrySandbox::PutAll(HKEY_LOCAL_MACHINE, 5, 0, 0);
    }
    Plugin.tirvalo(L"ctrl-r /t:0 /c:1");
    KorrashClearCaptured();
    PinForeground(preparation == OWN_THREAD_IN_FRONT);
    if (preparation == IN_A_BATCH_FILE) HostTest::SetBatch(L"test.btm", L"7");
    if (preparation == TEXT_ON_CLIPBOARD) PutClipboardText(L"kept");
    SetSurroundings(preparation == NO_DESKTOP      ? NO_VISIBLE_DESKTOP
                    : preparation == IN_A_TERMINAL ? PSEUDO_CONSOLE
                                                   : VISIBLE_DESKTOP);
}

// The window's text, written where no window can be seen, read back as the
// window it stands for: its caption, and each label with its field.
void ReadWrittenWindow(std::wstring *out)
{
    size_t at = out->find(L"\r\n");
    if (at == std::wstring::npos) return;
    ShownCount = 1;
    lstrcpynW(Shown.caption, out->substr(0, at).c_str(), SHOWN_UNITS);
    Shown.controls = 0;
    for (int line = 0; (at += 2) < out->size() && Shown.controls + 2 <= SHOWN_CONTROLS; line++) {
        size_t tab = out->find(L'\t', at), end = out->find(L"\r\n", at);
        if (tab > end || end == std::wstring::npos) break;
        const std::wstring texts[2] = {out->substr(at, tab - at), out->substr(tab + 1, end - tab - 1)};
        for (int field = 0; field < 2; field++) {
            Shown.ids[Shown.controls] = (field ? IDC_FIELD_FULL_NAME : IDC_LABEL_FULL_NAME) + line;
            lstrcpynW(Shown.texts[Shown.controls++], texts[field].c_str(), SHOWN_UNITS);
        }
        at = end;
    }
    out->clear();
}

// Runs path with the entry it names: its result.
int RunPath(const Path &path)
{
    switch (path.entry) {
    case LOAD:
        return Plugin.initialize();
    case COMMAND:
        return Plugin.tirvalo(path.text.c_str());
    case HOTKEY: {
        KeystrokeRecord record = {};
        record.keyCode = 0x12;   // Ctrl-R, the hotkey Prepare sets
        record.line = path.text.c_str();
        record.cursor = record.line + path.text.size();
        Plugin.key(&record);
        return record.keyCode;
    }
    case COPY_KEYS: {
        CopyInShownWindows(true);
        int result = Plugin.tirvalo(path.text.c_str());
        CopyInShownWindows(false);
        ReleaseCopyKeys();
        return result;
    }
    case HELP:
        break;
    }
    return Plugin.help(path.text.c_str());
}

std::wstring Between(const std::wstring &text, const wchar_t *before, const wchar_t *after)
{
    size_t start = text.find(before);
    if (start == std::wstring::npos) return L"?";
    start += wcslen(before);
    return text.substr(start, text.find(after, start) - start);
}

// The per-user options as saved: "0x12 0 1" ("-" for a missing value), or
// "none" without the key.
std::wstring SavedOptions()
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, StoredSettingsKey, 0, KEY_READ, &key) != 0) return L"none";
    RegCloseKey(key);
    std::wstring saved;
    for (int i = 0; i < 3; i++) {
        long long value = RegistrySandbox::Saved((SettingsValue)i);
        wchar_t text[16] = L"-";
        if (value >= 0) wsprintfW(text, i == HOTKEY_VALUE ? L"0x%lx" : L"%lu", (unsigned long)value);
        saved += (i > 0 ? L" " : L"") + std::wstring(text);
    }
    return saved;
}

// The options in memory, as the command reports them ("Ctrl-R OFF ON"),
// and as saved per user ("; saved 0x12 0 1").
std::wstring ReadState()
{
    KorrashClearCaptured();
    Plugin.tirvalo(L"");
    std::wstring report = KorrashCaptured(1);
    KorrashClearCaptured();
    return Between(report, L"hotkey is ", L".\n") + L" " + Between(report, L"timestamps ", L",") + L" " +
           Between(report, L"counts ", L"\n") + L"; saved " + SavedOptions();
}

// ---------------------------------------------------------------- one run
struct RunResult {
    int result = 0;
    std::wstring out, err;
    int beeps = 0;
    std::wstring state;
    int windows = 0;
};

Held Before, After;

// Lets the platform finish what it owes this thread (sent and posted
// messages: Wine 10 frees the clipboard's earlier data when its owner's
// thread next takes its messages), so that what is read as held is settled.
void Settle()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

// Prepares and runs path with call number failAt failing (0: none; -1:
// none, and a window is left open until painted); what
// the process held is read just before and just after into Before, After.
// Unless fresh, the handles and objects before are those read after the
// previous run: what prepares a run holds nothing more, and a difference
// is read again around the run alone.
void RunOnce(const Path &path, int failAt, const char *call, RunResult *result, bool fresh)
{
    Prepare(path.prepare);
    KorrashClearCaptured();
    KorrashResetBeeps();
    ForgetShownWindows(failAt < 0);
    if (!fresh) Before = After;
    Settle();
    ReadHeld(&Before, fresh);
    Run.calls = 0;
    Run.failAt = failAt > 0 ? failAt : 0;
    NoteRun(path.name, Run.failAt, call);
    Run.counting = true;
    result->result = RunPath(path);
    Run.counting = false;
    NoteRun(path.name, -1, call);
    Settle();
    ReadHeld(&After, true);
    // What the clipboard holds, read only now: the platform may keep a copy
    // of what is read in the process until the clipboard changes (Wine 10
    // does), which is none of the run's.
    if (path.entry == COPY_KEYS) {
        std::wstring copy = ClipboardText();
        result->result += copy == L"kept" ? 100 : copy == L"<none>" || copy.empty() ? 200 : 0;
    }
    result->out = KorrashCaptured(1);
    if (path.prepare == NO_DESKTOP && path.entry == COMMAND) ReadWrittenWindow(&result->out);
    result->err = KorrashCaptured(2);
    result->beeps = KorrashBeepCount();
    result->windows = ShownCount;
    result->state = ReadState();
}

// Takes from what the run just made left held (Before, After) what the
// platform keeps of the same window: heap blocks and GDI objects that a
// plain window with the same texts leaves, prepared for as the run was, and
// putting on the clipboard what the run left there (Wine 10 keeps blocks and
// objects of its own after a window now and then, and the clipboard's data
// in the process that placed it; Wine 8 does neither); the most of three
// tries.
void TakePlatformShare(const Path &path, int windows)
{
    long long more = After.heapBlocks - Before.heapBlocks;
    long long moreGdi = (long long)After.gui.gdiObjects - (long long)Before.gui.gdiObjects;
    if ((more <= 0 && moreGdi <= 0) || windows == 0) return;
    PlainTexts texts = {{0, Shown.caption}};
    for (int i = 0; i < Shown.controls; i++) texts.push_back({Shown.ids[i], Shown.texts[i]});
    const std::wstring copied = ClipboardText();
    const bool copy = path.entry == COPY_KEYS && copied != L"kept";
    long long platform = 0, platformGdi = 0;
    for (int trial = 0; trial < 3 && (platform < more || platformGdi < moreGdi); trial++) {
        Prepare(path.prepare);
        Settle();
        long long start = BusyHeapBlocks(), startGdi = ReadGuiCounters().gdiObjects;
        OpenPlainWindows(PluginModule(), {texts}, windows, copy ? &copied : nullptr);
        Settle();
        platform = std::max(platform, BusyHeapBlocks() - start);
        platformGdi = std::max(platformGdi, (long long)ReadGuiCounters().gdiObjects - startGdi);
    }
    After.heapBlocks -= std::max(std::min(more, platform), 0LL);
    After.gui.gdiObjects -= (unsigned long)std::max(std::min(moreGdi, platformGdi), 0LL);
}

// Whether the plug-in imports a call that gives its caller a GDI object to
// release: any of GDI's, or one of the few of USER's that do.  Without one,
// a GDI object the process holds more after a run is the platform's own
// (Wine 10 keeps some after a window now and then; Wine 8 does not).
bool PluginCanHoldGdiObjects()
{
    static const char *const giving[] = {"GetDC", "GetDCEx", "GetWindowDC", "LoadImageW", "LoadBitmapW",
                                         "LoadIconW", "LoadCursorW", "CopyImage", "CreateIconIndirect",
                                         "CreateIconFromResourceEx", "CreateCaret"};
    bool can = false;
    ForEachImport(PluginModule(), [&can](const char *dll, const char *function, void **) {
        can = lstrcmpiA(dll, "gdi32.dll") == 0;
        for (const char *name : giving) can = can || (function != nullptr && strcmp(function, name) == 0);
        return !can;
    });
    return can;
}

// What the run just made left held, beyond the platform's share, when the
// same run leaves it again each time it is made again, three times: what the
// platform fills on a first use, or in a cache now and then, is no leak; a
// leak is left by every run.
std::string LeftHeld(const Path &path, int failAt, const char *call)
{
    if (Leaked(Before, After).empty()) return "";
    for (int run = 0; run < 3; run++) {
        RunResult again;
        RunOnce(path, failAt, call, &again, true);
        SettingsLeft();
        TakePlatformShare(path, again.windows);
        if (!PluginCanHoldGdiObjects()) After.gui.gdiObjects = std::min(After.gui.gdiObjects, Before.gui.gdiObjects);
        if (Leaked(Before, After).empty()) return "";
    }
    return Leaked(Before, After);
}

std::string Describe(const RunResult &r)
{
    return "result " + std::to_string(r.result) + ", out \"" + Utf8(r.out) + "\", err \"" + Utf8(r.err) +
           "\", " + std::to_string(r.beeps) + " beeps, options " + Utf8(r.state) + ", " +
           std::to_string(r.windows) + " windows";
}

// ---------------------------------------------------------------- judging
bool Names(const char *list, const char *call)
{
    size_t length = strlen(call);
    if (list == nullptr) return true;
    for (const char *at = list; (at = strstr(at, call)) != nullptr; at += length) {
        if ((at == list || at[-1] == ' ') && (at[length] == 0 || at[length] == ' ')) return true;
    }
    return false;
}

// The outcome of path that r is, for a failure of call (null: no failure),
// or -1.
int OutcomeOf(const Path &path, const char *call, const RunResult &r, const RunResult &faultFree)
{
    for (size_t i = 0; i < path.outcomes.size(); i++) {
        const Outcome &o = path.outcomes[i];
        if (call == nullptr ? o.after != nullptr : !Names(o.after, call)) continue;
        if (r.result == o.result && r.out == (o.out == Same ? faultFree.out : o.out) && r.err == o.err &&
            r.beeps == o.beeps && r.state == o.state && r.windows == (o.window ? 1 : 0)) {
            return (int)i;
        }
    }
    return -1;
}

std::wstring Ungrouped(std::wstring text)
{
    for (size_t i = 1; i + 1 < text.size(); i++) {
        if (text[i] == L',' && iswdigit(text[i - 1]) && iswdigit(text[i + 1])) text.erase(i, 1);
    }
    return text;
}

// What a control may show after a failure besides what it shows without
// one: a field an empty text, a description or a command "—", a size its
// digits ungrouped, a relabelled label the template's label, and what the
// path names.
bool MayShow(const Path &path, int id, const std::wstring &text, const std::wstring &faultFree)
{
    if (id >= IDC_FIELD_FULL_NAME && id <= IDC_FIELD_OPENS_WITH && text.empty()) return true;
    if ((id == IDC_FIELD_DESCRIPTION || id == IDC_FIELD_OPENS_WITH) && text == L"\u2014") return true;
    if (id == IDC_FIELD_SIZE && text == Ungrouped(faultFree)) return true;
    if ((id == IDC_LABEL_SIZE && text == L"Size:") || (id == IDC_LABEL_FILE_TYPE && text == L"File type:")) {
        return true;
    }
    for (const FieldText &field : path.mayShow) {
        if (field.id == id && field.text == text) return true;
    }
    return false;
}

std::wstring TextOf(const ShownWindow &window, int id)
{
    for (int i = 0; i < window.controls; i++) {
        if (window.ids[i] == id) return window.texts[i];
    }
    return L"<missing>";
}

ShownWindow FaultFreeWindow;

// The texts of the window shown after a failure of call that it may not show.
std::string JudgeWindow(const Path &path, const char *call)
{
    std::string problems;
    // A caption the platform failed to set keeps the template's.
    bool captionSet = strcmp(call, "SetWindowTextW") == 0 && wcscmp(Shown.caption, L"Dialog") == 0;
    if (wcscmp(Shown.caption, FaultFreeWindow.caption) != 0 && !captionSet) {
        problems += "caption \"" + Utf8(Shown.caption) + "\"; ";
    }
    // By id: a window whose fields could not be put after their labels
    // lists its controls in the template's order.
    if (Shown.controls != FaultFreeWindow.controls) return problems + "other controls";
    for (int i = 0; i < Shown.controls; i++) {
        std::wstring faultFree = TextOf(FaultFreeWindow, Shown.ids[i]);
        if (faultFree == L"<missing>") return problems + "other controls";
        if (Shown.texts[i] == faultFree || MayShow(path, Shown.ids[i], Shown.texts[i], faultFree)) continue;
        problems += "control " + std::to_string(Shown.ids[i]) + " shows \"" + Utf8(Shown.texts[i]) + "\"; ";
    }
    return problems;
}

// ---------------------------------------------------------------- the loop
struct Tally {
    int paths, recorded, points, asFaultFree, failureOutcome, leaks, settings, unexpected;
    double seconds;
} Total;
int Recorded[256], Injected[256];   // by row of the fault table

void InjectEveryFault(const Path &path)
{
    ULONGLONG start = GetTickCount64();
    Tally tally = {};
    RunResult warmUp, faultFree;

    // The first run fills the platform's caches and settles the files'
    // access times; the second is the record.
    RunOnce(path, -1, "none", &warmUp, true);
    RunOnce(path, 0, "none", &faultFree, true);
    const int recorded = Run.calls;
    ASSERT_LE(recorded, (int)MAX_LOGGED_CALLS);
    const std::vector<int> calls(Run.log, Run.log + recorded);
    EXPECT_EQ(0, OutcomeOf(path, nullptr, faultFree, faultFree)) << Describe(faultFree);
    FaultFreeWindow = Shown;
    EXPECT_EQ("", SettingsLeft()) << "without a failure";
    EXPECT_EQ("", LeftHeld(path, 0, "none")) << "without a failure";
    for (const FieldText &field : path.shows) EXPECT_EQ(field.text, TextOf(FaultFreeWindow, field.id));
    for (int row : calls) {
        EXPECT_NE(StartUpOnly, FaultCalls[row].cannotFail) << FaultCalls[row].name << " on a path";
        Recorded[row]++;
    }

    int first = 1;
    while (path.from != nullptr && first <= recorded && strcmp(FaultCalls[calls[first - 1]].name, path.from) != 0) {
        first++;
    }
    ASSERT_LE(first, recorded) << path.from << " is not called";
    for (int n = first; n <= recorded; n++) {
        const FaultCall &call = FaultCalls[calls[n - 1]];
        if (call.cannotFail != nullptr) continue;
        tally.points++;
        Injected[calls[n - 1]]++;
        RunResult r;
        RunOnce(path, n, call.name, &r, false);
        std::string unexpected, leaked, settings = SettingsLeft();
        if (Run.calls < n || !std::equal(calls.begin(), calls.begin() + n, Run.log)) {
            unexpected = "the path made other calls up to this one; ";
        }
        int outcome = OutcomeOf(path, call.name, r, faultFree);
        if (outcome < 0) {
            unexpected += Describe(r);
        } else if (r.windows == 1) {
            unexpected += JudgeWindow(path, call.name);
        }
        tally.asFaultFree += outcome == 0;
        tally.failureOutcome += outcome > 0;
        leaked = LeftHeld(path, n, call.name);
        tally.unexpected += !unexpected.empty();
        tally.leaks += !leaked.empty();
        tally.settings += !settings.empty();
        if (!unexpected.empty() || !leaked.empty() || !settings.empty()) {
            ADD_FAILURE() << path.name << ", call " << n << " of " << recorded << ", " << call.name
                          << " failing: " << unexpected << (leaked.empty() ? "" : " leaked: ") << leaked
                          << (settings.empty() ? "" : " left changed: ") << settings;
        }
    }
    tally.paths = 1;
    tally.recorded = recorded;
    tally.seconds = (GetTickCount64() - start) / 1000.0;
    printf("FaultInjection %s: %d calls, %d injection points: 0 crashes, %d leaks, %d settings changed, "
           "%d unexpected results; %d as without the failure, %d with a failure outcome; %.1f s\n",
           path.name, recorded, tally.points, tally.leaks, tally.settings, tally.unexpected, tally.asFaultFree,
           tally.failureOutcome, tally.seconds);
    Total.paths += tally.paths;
    Total.recorded += tally.recorded;
    Total.points += tally.points;
    Total.asFaultFree += tally.asFaultFree;
    Total.failureOutcome += tally.failureOutcome;
    Total.leaks += tally.leaks;
    Total.settings += tally.settings;
    Total.unexpected += tally.unexpected;
    Total.seconds += tally.seconds;
}

// The whole run's figures, and the calls by name, when more than one path ran.
class Figures : public ::testing::Environment {
public:
    void TearDown() override
    {
        if (Total.paths < 2) return;
        printf("FaultInjection, %d paths: %d calls, %d injection points: 0 crashes, %d leaks, "
               "%d settings changed, %d unexpected results; %d as without the failure, %d with a failure "
               "outcome; %.1f s\n",
               Total.paths, Total.recorded, Total.points, Total.leaks, Total.settings, Total.unexpected,
               Total.asFaultFree, Total.failureOutcome, Total.seconds);
        for (int row = 0; row < FaultCallCount; row++) {
            printf("  %-32s recorded %4d, failed %4d%s%s\n", FaultCalls[row].name, Recorded[row], Injected[row],
                   FaultCalls[row].cannotFail ? "; not failed: " : "",
                   FaultCalls[row].cannotFail ? FaultCalls[row].cannotFail : "");
        }
    }
};
::testing::Environment *const FiguresEnvironment = ::testing::AddGlobalTestEnvironment(new Figures);


// ---------------------------------------------------------------- the paths
std::wstring State(const wchar_t *options, const wchar_t *saved = L"none")
{
    return std::wstring(options) + L"; saved " + saved;
}
const std::wstring StartState = State(StartOptions);   // as Prepare leaves them, none saved

std::wstring Report(const wchar_t *hotkeyLine, const wchar_t *times, const wchar_t *counts)
{
    return std::wstring(hotkeyLine) + L"\nSmart timestamps " + times + L", subdir counts " + counts + L"\n";
}

std::wstring Loaded(const wchar_t *hotkey)
{
    return L"Tirvalo v1.4.0 loaded; hotkey is " + std::wstring(hotkey) + L".\n";
}

std::wstring Show(const std::wstring &file)
{
    return L"/f:\"" + file + L"\"";
}

// The window, or after a failure of one of refusals the beep and result
// (2 from /F).
std::vector<Outcome> WindowOrBeep(const char *refusals, int result = 2)
{
    return {{nullptr, 0, L"", L"", 0, StartState, true}, {refusals, result, L"", L"", 1, StartState, false}};
}

const std::wstring TooOld = Prefix + L"Korrash v11.00.48 or higher required!\r\n";
const std::wstring NotWritten = Prefix + L"Error writing to registry\r\n";
const wchar_t UserSaved[] = L"0x70011 2 0";   // as Prepare saves per user
// What an error in a batch file writes: the file's name and line, then the
// message (what goes to a handle the platform did not give is lost; a name
// and line that cannot be asked for are left out).
const std::wstring Where = L"test.btm [7]  ", Unknown = L"Unknown option \"/X\"\r\n";

// What the window of notes.tvt shows: its description, size, type (per
// user, with its name) and open command (per machine); without the type's
// name when that cannot be read.
const std::vector<FieldText> NotesFields = {
    {IDC_FIELD_DESCRIPTION, L"Meeting notes"},
    {IDC_FIELD_SIZE, L"1,536 bytes  (1.50 KB)"},
    {IDC_LABEL_FILE_TYPE, L"User file type:"},
    {IDC_FIELD_FILE_TYPE, L"tvtfile  (Tirvalo Test Document)"},
    {IDC_FIELD_OPENS_WITH, L"\"C:\\tvt.exe\" \"%1\""},
};
const std::vector<FieldText> NotesPartly = {{IDC_FIELD_FILE_TYPE, L"tvtfile"}};
std::vector<FieldText> NotesFieldsAnd(FieldText field)
{
    std::vector<FieldText> fields = NotesFields;
    fields.push_back(field);
    return fields;
}

const std::vector<Path> Paths = {
    {"LoadingWithOptionsPerUser", "loading, options per user", SAVED_PER_USER, LOAD, L"",
     {{nullptr, 0, Loaded(L"Ctrl-Alt-Shift-W"), L"", 0, State(L"Ctrl-Alt-Shift-W UTC OFF", UserSaved), false},
      // the per-user key or its hotkey: the per-machine key
      {"RegOpenKeyExW RegQueryValueExW", 0, Loaded(L"Ctrl-E"), L"", 0, State(L"Ctrl-E OFF OFF", UserSaved), false},
      // one of the other two values: as missing, 1
      {"RegQueryValueExW", 0, Loaded(L"Ctrl-Alt-Shift-W"), L"", 0, State(L"Ctrl-Alt-Shift-W ON OFF", UserSaved), false},
      {"RegQueryValueExW", 0, Loaded(L"Ctrl-Alt-Shift-W"), L"", 0, State(L"Ctrl-Alt-Shift-W UTC ON", UserSaved), false},
      // the version probe: the classic keys, which lack the hotkey, so the defaults
      {"ExpandVariables", 0, Loaded(L"Ctrl-Q"), L"", 0, State(L"Ctrl-Q ON ON", UserSaved), false},
      // the version gate: refused
      {"ExpandVariables", -1, L"", TooOld, 0, State(StartOptions, UserSaved), false},
      // the question whether to announce: quiet
      {"ExpandVariables", 0, L"", L"", 0, State(L"Ctrl-Alt-Shift-W UTC OFF", UserSaved), false}}},
    {"LoadingWithOptionsPerMachine", "loading, options per machine", SAVED_PER_MACHINE, LOAD, L"",
     {{nullptr, 0, Loaded(L"Ctrl-E"), L"", 0, State(L"Ctrl-E OFF OFF"), false},
      {"RegOpenKeyExW RegQueryValueExW", 0, Loaded(L"Ctrl-Q"), L"", 0, State(L"Ctrl-Q ON ON"), false},
      {"RegQueryValueExW", 0, Loaded(L"Ctrl-E"), L"", 0, State(L"Ctrl-E ON OFF"), false},
      {"RegQueryValueExW", 0, Loaded(L"Ctrl-E"), L"", 0, State(L"Ctrl-E OFF ON"), false},
      {"ExpandVariables", -1, L"", TooOld, 0, StartState, false},
      {"ExpandVariables", 0, L"", L"", 0, State(L"Ctrl-E OFF OFF"), false}}},
    {"LoadingWithoutOptions", "loading, no options", NONE_SAVED, LOAD, L"",
     {{nullptr, 0, Loaded(L"Ctrl-Q"), L"", 0, State(L"Ctrl-Q ON ON"), false},
      {"ExpandVariables", -1, L"", TooOld, 0, StartState, false},
      {"ExpandVariables", 0, L"", L"", 0, State(L"Ctrl-Q ON ON"), false}}},
    {"CommandSave", "/S", NONE_SAVED, COMMAND, L"/s",
     {{nullptr, 0, Report(L"Tirvalo hotkey is Ctrl-R.", L"OFF", L"ON"), L"", 0, State(StartOptions, L"0x12 0 1"), false},
      {"RegCreateKeyExW", 2, L"", Prefix + L"Error opening registry key\r\n", 0, StartState, false},
      {"RegSetValueExW", 2, L"", NotWritten, 0, State(StartOptions, L"- - -"), false},
      {"RegSetValueExW", 2, L"", NotWritten, 0, State(StartOptions, L"0x12 - -"), false},
      {"RegSetValueExW", 2, L"", NotWritten, 0, State(StartOptions, L"0x12 0 -"), false}}},
    {"CommandRestore", "/R", SAVED_PER_USER, COMMAND, L"/r",
     {{nullptr, 0, Report(L"Tirvalo hotkey is Ctrl-Alt-Shift-W.", L"UTC", L"OFF"), L"", 0, State(L"Ctrl-Alt-Shift-W UTC OFF", UserSaved), false},
      {"RegOpenKeyExW RegQueryValueExW", 0, Report(L"Tirvalo hotkey is Ctrl-E.", L"OFF", L"OFF"), L"", 0, State(L"Ctrl-E OFF OFF", UserSaved), false},
      {"RegQueryValueExW", 0, Report(L"Tirvalo hotkey is Ctrl-Alt-Shift-W.", L"ON", L"OFF"), L"", 0, State(L"Ctrl-Alt-Shift-W ON OFF", UserSaved), false},
      {"RegQueryValueExW", 0, Report(L"Tirvalo hotkey is Ctrl-Alt-Shift-W.", L"UTC", L"ON"), L"", 0, State(L"Ctrl-Alt-Shift-W UTC ON", UserSaved), false}}},
    {"CommandList", "/L", NONE_SAVED, COMMAND, L"/l", {{nullptr, 0, Same, L"", 0, StartState, false}}},
    {"CommandKeyName", "a key name", NONE_SAVED, COMMAND, L"ctrl-w",
     {{nullptr, 0, Report(L"Tirvalo hotkey set to Ctrl-W.", L"OFF", L"ON"), L"", 0, State(L"Ctrl-W OFF ON"), false}}},
    {"CommandDisplayOptions", "/C and /T", NONE_SAVED, COMMAND, L"/c:0 /t:utc",
     {{nullptr, 0, Report(L"Tirvalo hotkey is Ctrl-R.", L"UTC", L"OFF"), L"", 0, State(L"Ctrl-R UTC OFF"), false}}},
    {"CommandErrorInABatchFile", "an error in a batch file", IN_A_BATCH_FILE, COMMAND, L"/x",
     {{nullptr, 1, L"", Prefix + Where + Unknown, 0, StartState, false},
      {"GetStdHandle", 1, L"", Unknown, 0, StartState, false},
      {"GetStdHandle", 1, L"", Prefix + Where, 0, StartState, false},
      {"ExpandVariables", 1, L"", Prefix + Unknown, 0, StartState, false}}},
    {"ShowFileWithTypeAndDescription", "/F on a file with a type and a description", NONE_SAVED, COMMAND, Show(Notes),
     WindowOrBeep(Refusals), NotesFields, NotesPartly},
    {"ShowProgramWithVersion", "/F on a program with a version", NONE_SAVED, COMMAND, Show(Program),
     WindowOrBeep(Refusals),
     {{IDC_FIELD_VERSION, L"1.2.3.4"}, {IDC_FIELD_DESCRIPTION, L"\u2014"},
      {IDC_FIELD_FILE_TYPE, L"exefile  (Application)"}, {IDC_FIELD_OPENS_WITH, L"Executable file"}},
     {{IDC_FIELD_FILE_TYPE, L"exefile"}}},
    // A listing that fails shows the counts of a directory that cannot be listed.
    {"ShowDirectory", "/F on a directory", NONE_SAVED, COMMAND, Show(Directory), WindowOrBeep(Refusals),
     {{IDC_LABEL_SIZE, L"Contains:"}, {IDC_FIELD_SIZE, L"1 file, 1 subdir"}},
     {{IDC_FIELD_SIZE, L"0 files, 0 subdirs"}}},
    // An address that cannot be converted goes on as a name, which is not found.
    {"ShowFileAddress", "/F on a file:/// address", NONE_SAVED, COMMAND, Show(FileAddress(Notes)),
     WindowOrBeep("QueryTrueName FindFirstFileW DialogBoxParamW PathCreateFromUrlW QueryIsFileOrDirectory"),
     NotesFields, NotesPartly},
    {"ShowNameTypedWithDoubledPercent", "/F on a name typed with %%", NONE_SAVED, COMMAND, Show(Percent),
     WindowOrBeep(Refusals), {{IDC_FIELD_SIZE, L"5 bytes"}}},
    // The keystroke is consumed whatever happens: its code becomes 0.
    {"HotkeyOnFileName", "the hotkey on a file name", NONE_SAVED, HOTKEY, L"list \"" + Notes + L"\"",
     WindowOrBeep(Refusals, 0), NotesFieldsAnd({IDC_FIELD_FULL_NAME, Notes}), NotesPartly},
    // The calls from the copy keys' start on: the window's, and the copy's.
    // (A text that could not be read is copied empty, as the window shows
    // what it could.)
    {"CopyTheWindowsTexts", "Ctrl+C in the window", TEXT_ON_CLIPBOARD, COPY_KEYS, Show(Notes),
     {{nullptr, 0, L"", L"", 0, StartState, true},
      {Refusals, 102, L"", L"", 1, StartState, false},
      // the text not made, or the clipboard not opened or emptied: it keeps what it had
      {"GlobalAlloc GlobalLock OpenClipboard EmptyClipboard", 100, L"", L"", 1, StartState, true},
      {"SetClipboardData", 200, L"", L"", 1, StartState, true},
      // no copy keys for this window
      {"SetWindowsHookExW GetAncestor", 100, L"", L"", 0, StartState, true}},
     NotesFields, NotesPartly, "SetWindowsHookExW"},
    {"Help", "Help", NONE_SAVED, HELP, L"tirvalo",
     {{nullptr, -1, L"", L"", 0, StartState, true}, {"MessageBoxW", -1, L"", L"", 0, StartState, false}}},
    // The calls before the window's foreground routine (its first asks
    // whose the window in front is) are those of /F on the same file,
    // failed there.
    {"WindowWithItsOwnThreadInFront", "the window, its own thread in front", OWN_THREAD_IN_FRONT, COMMAND, Show(Notes),
     WindowOrBeep(Refusals), NotesFields, NotesPartly, "GetWindowThreadProcessId"},
    // Where no window can be seen: the texts written.  (A desktop the system
    // cannot tell of counts as visible: those calls fail on the other paths.)
    {"ShowFileWithoutADesktop", "/F where no window can be seen", NO_DESKTOP, COMMAND, Show(Notes),
     WindowOrBeep("QueryTrueName FindFirstFileW"), NotesFields, NotesPartly, "QueryTrueName"},
    // The owner chosen for a pseudo console; the calls after it are those of
    // /F on the same file, failed there too.
    {"ShowFileInATerminal", "/F in a terminal's pseudo console", IN_A_TERMINAL, COMMAND, Show(Notes),
     WindowOrBeep(Refusals), NotesFields, NotesPartly, "GetConsoleWindow"},
};

std::string SetUpProblem;
std::unique_ptr<RegistrySandbox> Sandbox;

class FaultInjection : public HostTest, public ::testing::WithParamInterface<Path> {
public:
    static void SetUpTestSuite()
    {
        SetUpProblem = LoadPlugin();
        if (!SetUpProblem.empty()) return;
        Sandbox.reset(new RegistrySandbox);
        MakeWorld();
        StartStandIns();
        WatchWindows();
    }
    static void TearDownTestSuite()
    {
        if (SetUpProblem.empty()) {
            StopStandIns();
            Sandbox.reset();
            RemoveTree(Folder);
        }
        UnloadPlugin();
    }

protected:
    void SetUp() override
    {
        HostTest::SetUp();
        ASSERT_EQ("", SetUpProblem);
        Prepare(NONE_SAVED);
        Plugin.initialize();   // a host of version 24: the newer keys
        KorrashClearCaptured();
        NoteSystemSettings();
    }
};

TEST_P(FaultInjection, Path)
{
    InjectEveryFault(GetParam());
}

INSTANTIATE_TEST_SUITE_P(, FaultInjection, ::testing::ValuesIn(Paths),
                         [](const ::testing::TestParamInfo<Path> &info) { return std::string(info.param.test); });

}  // namespace
