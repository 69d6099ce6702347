// Reads and closes the modal windows that the code under test opens on this
// thread, with the stand-in shell's own window watch (host/window_dump.h):
// each dialog-class window is read once painted, then closed with the given
// command.
#ifndef TIRVALO_TESTS_WINDOW_PROBE_H
#define TIRVALO_TESTS_WINDOW_PROBE_H

#include <windows.h>

#include "host/window_dump.h"

using ProbedControl = WindowControl;
using ProbedWindow = WindowTexts;

class WindowProbe : public WindowWatch {
public:
    explicit WindowProbe(int closeCommand = IDOK);
};

#endif
