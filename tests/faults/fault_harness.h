// What the fault-injection runs stand on: the real Tirvalo.dll loaded with
// the stand-in host and its import table rewritten (fault_table.h), the
// windows it opens read and closed, the system settings the window touches,
// and a fault in the plug-in reported with the run that caused it.
#ifndef TIRVALO_TESTS_FAULT_HARNESS_H
#define TIRVALO_TESTS_FAULT_HARNESS_H

#include <windows.h>

#include <string>

#include "entry/entry.h"

// The DLL's entry points.
struct PluginEntries {
    int (*initialize)(void);
    int (*tirvalo)(const wchar_t *arguments);
    int (*key)(KeystrokeRecord *record);
    int (*help)(const wchar_t *command);
};
extern PluginEntries Plugin;

// Loads build/bin/Tirvalo.dll, rewrites its import table and starts
// catching faults; a problem, or empty.  UnloadPlugin undoes all of it.
// PluginModule is the DLL loaded, whose resources hold the window's template.
std::string LoadPlugin();
void UnloadPlugin();
HMODULE PluginModule();

// The run in progress, named in the report of a fault or a hang.
void NoteRun(const char *path, int failAt, const char *call);

// The foreground window the plug-in is told of: a window of another thread
// (as the console's is), or one of its own thread.  The keyboard it is told
// of holds no modifier.  The minimize animation, which Wine does not keep,
// is kept here.
void StartStandIns();
void StopStandIns();
void PinForeground(bool ownThread);

// Where the plug-in is told it runs: a visible desktop without a console
// (a pipe's), a window station without a visible desktop (a service's), or
// a pseudo console: hidden, without a client area, owned by a visible
// window of another thread (a terminal program's).
enum Surroundings { VISIBLE_DESKTOP, NO_VISIBLE_DESKTOP, PSEUDO_CONSOLE };
void SetSurroundings(Surroundings surroundings);

// The dialog windows opened on this thread, read as soon as their procedure
// has filled them and closed with OK (again, until they are gone).
enum { SHOWN_UNITS = 1024, SHOWN_CONTROLS = 40 };
struct ShownWindow {
    wchar_t caption[SHOWN_UNITS];
    int controls;
    int ids[SHOWN_CONTROLS];
    wchar_t texts[SHOWN_CONTROLS][SHOWN_UNITS];
};
extern ShownWindow Shown;     // the first window of the run
extern int ShownCount;        // windows of the run
void WatchWindows();
// Starts a run: none shown yet.  A window waited for is shown and painted
// before it is closed, which fills the platform's caches for a window that
// stays (when ending it fails).
void ForgetShownWindows(bool waitForPaint);
// With copy set, the first window of each run gets Ctrl+C before it is
// asked to close, as far as its thread can tell (Ctrl down in the thread's
// key state, a key-down of C posted to OK): no key is held on the display.
// ReleaseCopyKeys puts Ctrl up again.
void CopyInShownWindows(bool copy);
void ReleaseCopyKeys();

// The system settings the window changes for a moment, and whether the
// plug-in's thread is left attached to the foreground window's input.
// SettingsLeft names what differs from the first reading and puts it back.
void NoteSystemSettings();
std::string SettingsLeft();

#endif
