/*
** The information window: where it is placed, its dialog procedure, which
** fills the fields from the FileInfoRecord when the window opens, gives it
** the copy keys for as long as it exists, and ends it on OK or Cancel.
*/
#include <windows.h>

#include "frame/platform.h"
#include "info_dialog.h"

HWND InfoWindowOwner(void)
{
    HWND console = GetConsoleWindow();
    HWND root;
    RECT client;

    if (console == 0) return 0;
    if (IsWindowVisible(console) && GetClientRect(console, &client) && !IsRectEmpty(&client)) {
        return console;
    }
    /* A pseudo console: the terminal that owns it is what the user sees;
    ** without one, the window the user was working in, when it answers:
    ** the modal window disables its owner, which waits for the owner's
    ** thread. */
    root = GetAncestor(console, GA_ROOTOWNER);
    if (root != 0 && root != console && IsWindowVisible(root)) return root;
    return AnsweringForegroundWindow();
}

INT_PTR ShowInfoWindow(const FileInfoRecord *record, HWND owner)
{
    /* The owner was chosen before the facts were gathered, which may take
    ** seconds: one closed meanwhile would keep the window from opening. */
    if (owner != 0 && !IsWindow(owner)) owner = InfoWindowOwner();
    return DialogBoxParamW(g_instance, MAKEINTRESOURCEW(IDD_FILE_INFO), owner, InfoDialogProc,
                           (LPARAM)record);
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
