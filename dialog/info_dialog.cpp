/*
** The information window: where it goes, its dialog procedure, which
** fills the fields from the FileInfoRecord when the window opens, gives it
** the copy keys for as long as it exists, and ends it on OK or Cancel.
*/
#include <windows.h>

#include "frame/platform.h"
#include "info_dialog.h"

/* The window being opened by ShowInfoWindow, from there to its
** WM_INITDIALOG; a window opened by any other caller stays where the system
** puts it. */
static const InfoWindowPlace *Opening;

void ChooseInfoWindowPlace(InfoWindowPlace *place)
{
    HWND console = GetConsoleWindow();
    HWND root;
    RECT client;

    place->owner = console != 0 && !IsIconic(console) ? console : 0;
    place->over = 0;
    if (place->owner != 0 && IsWindowVisible(console) && GetClientRect(console, &client) &&
        !IsRectEmpty(&client)) {
        place->over = console;
        return;
    }
    /* A pseudo console: the terminal that owns it is what the user sees;
    ** without one, the window the user was working in, when it answers. */
    root = console != 0 ? GetAncestor(console, GA_ROOTOWNER) : 0;
    if (root != 0 && root != console && IsWindowVisible(root) && !IsIconic(root)) {
        place->over = root;
    } else {
        place->over = AnsweringForegroundWindow();
    }
}

INT_PTR ShowInfoWindow(const FileInfoRecord *record, const InfoWindowPlace *place)
{
    InfoWindowPlace chosen = *place;
    INT_PTR result;

    /* The place was chosen before the facts were gathered, which may take
    ** seconds: an owner closed meanwhile would keep the window from
    ** opening. */
    if ((chosen.owner != 0 && !IsWindow(chosen.owner)) || (chosen.over != 0 && !IsWindow(chosen.over))) {
        ChooseInfoWindowPlace(&chosen);
    }
    Opening = &chosen;
    result = DialogBoxParamW(g_instance, MAKEINTRESOURCEW(IDD_FILE_INFO), chosen.owner, InfoDialogProc,
                             (LPARAM)record);
    Opening = 0;
    return result;
}

/* start moved as little as it takes for size units from it to lie within
** low to high; low wins when they do not fit. */
static int Fit(int start, int size, int low, int high)
{
    if (start + size > high) start = high - size;
    return start < low ? low : start;
}

/*
** Puts the client area of window at (0, 0) of the client area of over, as
** a dialog is placed on its owner, or without over the window at the top
** left of the primary monitor's work area; whole on the work area of that
** monitor.  A move to a monitor of another DPI resizes the window, so it
** is fitted once more at its new size.
*/
static void PlaceWindow(HWND window, HWND over)
{
    MONITORINFO monitor;
    POINT origin, inner;
    RECT frame;
    int pass, x, y;

    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(over, MONITOR_DEFAULTTOPRIMARY), &monitor)) return;
    for (pass = 0; pass < 2; pass++) {
        origin.x = origin.y = inner.x = inner.y = 0;
        if (!GetWindowRect(window, &frame)) return;
        if (over != 0 && ClientToScreen(over, &origin) && ClientToScreen(window, &inner)) {
            x = origin.x - (inner.x - frame.left);
            y = origin.y - (inner.y - frame.top);
        } else {
            x = monitor.rcWork.left;
            y = monitor.rcWork.top;
        }
        x = Fit(x, frame.right - frame.left, monitor.rcWork.left, monitor.rcWork.right);
        y = Fit(y, frame.bottom - frame.top, monitor.rcWork.top, monitor.rcWork.bottom);
        if (x == frame.left && y == frame.top) return;
        SetWindowPos(window, 0, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

/* Fills the window from record: the caption, each field the record gives,
** and each label it relabels, line by line. */
static void FillWindow(HWND window, const FileInfoRecord *record)
{
    InfoTexts texts;
    int line;

    MakeInfoTexts(record, &texts);
    if (texts.caption != 0) SetWindowTextW(window, texts.caption);
    for (line = 0; line < INFO_LINES; line++) {
        if (texts.labels[line] != TemplateLabels[line]) {
            SetWindowTextW(GetDlgItem(window, IDC_LABEL_FULL_NAME + line), texts.labels[line]);
        }
        if (texts.fields[line] != 0) {
            SetWindowTextW(GetDlgItem(window, IDC_FIELD_FULL_NAME + line), texts.fields[line]);
        }
    }
}

/*
** Puts each field right after its own label in window order: a screen
** reader names a field after the window before it.  The template lists
** every label before every field, which keeps the tab order simple; the
** tab order stays as it was, since the labels are no tab stops.
*/
static void PlaceFieldsAfterLabels(HWND window)
{
    HWND label, field;
    int line;
    for (line = 0; line < INFO_LINES; line++) {
        label = GetDlgItem(window, IDC_LABEL_FULL_NAME + line);
        field = GetDlgItem(window, IDC_FIELD_FULL_NAME + line);
        /* A null label would mean the top of the order. */
        if (label == 0 || field == 0) continue;
        SetWindowPos(field, label, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

INT_PTR CALLBACK InfoDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        PlaceFieldsAfterLabels(window);
        if (lParam != 0) {
            FillWindow(window, (const FileInfoRecord *)lParam);
            StartCopyKeys(window, (const FileInfoRecord *)lParam);
        }
        if (Opening != 0) PlaceWindow(window, Opening->over);
        Opening = 0;
        ForceForeground(window);
        /* FALSE: the system sets no initial keyboard focus. */
        return 0;

    case WM_COMMAND:
        /* OK or Enter ends with 1; Esc or the close box with 2. */
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(window, LOWORD(wParam));
        }
        return 0;

    case WM_DESTROY:
        StopCopyKeys(window);
        return 0;

    default:
        /* Every other message is the dialog manager's. */
        return 0;
    }
}
