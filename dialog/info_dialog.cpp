/*
** The information window's dialog procedure: it fills the fields from the
** FileInfoRecord when the window opens, gives it the copy keys for as long
** as it exists, and ends the window on OK or Cancel.
*/
#include <windows.h>

#include "info_dialog.h"
#include "fileinfo/filetype.h"

/* Sets a control's text when there is one to set. */
static void SetField(HWND window, int id, const wchar_t *text)
{
    if (text != 0) SetWindowTextW(GetDlgItem(window, id), text);
}

/* Fills every field of the window from record. */
static void FillWindow(HWND window, const FileInfoRecord *record)
{
    wchar_t version[1024];

    if (record->title != 0) SetWindowTextW(window, record->title);
    SetField(window, IDC_FIELD_FULL_NAME, record->fullName);
    SetField(window, IDC_FIELD_SHORT_NAME, record->shortName);
    SetField(window, IDC_FIELD_DESCRIPTION, record->description);

    /* A version of all zeros is no version: the field stays empty. */
    if (record->versionMajor != 0 || record->versionMinor != 0 || record->versionBuild != 0 ||
        record->versionRevision != 0) {
        wsprintfW(version, L"%u.%u.%u.%u", record->versionMajor, record->versionMinor,
                  record->versionBuild, record->versionRevision);
        SetField(window, IDC_FIELD_VERSION, version);
    }

    if (record->attributes & FILE_ATTRIBUTE_DIRECTORY) {
        SetField(window, IDC_LABEL_SIZE, L"Contains:");
    }
    SetField(window, IDC_FIELD_SIZE, record->sizeOrContents);
    SetField(window, IDC_FIELD_ATTRIBUTES, record->attributesText);
    SetField(window, IDC_FIELD_CREATED, record->created);
    SetField(window, IDC_FIELD_MODIFIED, record->modified);
    SetField(window, IDC_FIELD_ACCESSED, record->accessed);
    SetField(window, IDC_FIELD_OWNER, record->owner);

    if (record->fileTypeSource == SourceUserClasses) {
        SetField(window, IDC_LABEL_FILE_TYPE, L"User file type:");
    }
    SetField(window, IDC_FIELD_FILE_TYPE, record->fileType);
    SetField(window, IDC_FIELD_OPENS_WITH, record->opensWith);
}

INT_PTR CALLBACK InfoDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        if (lParam != 0) FillWindow(window, (const FileInfoRecord *)lParam);
        StartCopyKeys(window);
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
    }
    return 0;
}
