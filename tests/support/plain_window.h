// Windows of the information window's template that show given texts,
// opened and closed by a dialog procedure of the test's own: what the
// platform itself keeps of such windows, with no code of the plug-in
// running, to set beside what the plug-in's windows keep.  Some platforms
// keep memory after a window (Wine 10 does, Wine 8 does not).
#ifndef TIRVALO_TESTS_PLAIN_WINDOW_H
#define TIRVALO_TESTS_PLAIN_WINDOW_H

#include <windows.h>

#include <string>
#include <vector>

struct PlainText {
    int id;   // a control's id; 0 for the caption
    std::wstring text;
};
typedef std::vector<PlainText> PlainTexts;

// The caption and every control's text of a window, as it shows them now.
PlainTexts TextsOf(HWND window);

// Opens count windows of the template IDD_FILE_INFO in module, one after
// the other, each with the next texts of kinds in turn; each is closed once
// it has been painted, after it has put copy on the clipboard as its owner
// when copy is given.  The tests' window watchers leave them alone.
void OpenPlainWindows(HMODULE module, const std::vector<PlainTexts> &kinds, int count,
                      const std::wstring *copy = nullptr);

// Whether a plain window is being opened on this thread.
bool OpeningPlainWindows();

#endif
