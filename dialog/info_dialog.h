/*
** The information window: its texts made from the record it is handed,
** the window itself and where it is placed, the routine that brings it in
** front of the console, the copy of its texts, and their text form for
** where no window can be seen.
*/
#ifndef TIRVALO_INFO_DIALOG_H
#define TIRVALO_INFO_DIALOG_H

#include <windows.h>

#include "info_record.h"
#include "resource_ids.h"

/* The window's lines, in the template's order: a label and its field each. */
enum {
    INFO_LINE_FULL_NAME, INFO_LINE_SHORT_NAME, INFO_LINE_DESCRIPTION, INFO_LINE_VERSION,
    INFO_LINE_SIZE, INFO_LINE_ATTRIBUTES, INFO_LINE_CREATED, INFO_LINE_MODIFIED,
    INFO_LINE_ACCESSED, INFO_LINE_OWNER, INFO_LINE_FILE_TYPE, INFO_LINE_OPENS_WITH,
    INFO_LINES
};

enum { VERSION_TEXT_CAPACITY = 1024 };

/*
** The window's texts: the caption, and each line's label and field.  A
** null caption or field is one the record leaves out: the window keeps the
** template's text there, and the copy and the text form show it empty.
** The labels point into TemplateLabels unless the record relabels them.
*/
struct InfoTexts {
    const wchar_t *caption;
    const wchar_t *labels[INFO_LINES];
    const wchar_t *fields[INFO_LINES];
    wchar_t version[VERSION_TEXT_CAPACITY];   /* "%u.%u.%u.%u", when a version was read */
};

extern const wchar_t *const TemplateLabels[INFO_LINES];

/* Makes the window's texts from record; the texts point into it. */
void MakeInfoTexts(const FileInfoRecord *record, InfoTexts *texts);

/* Hands sink every piece of the window's text, in order: the caption and
** "\r\n", then for each line its label, "\t", its field and "\r\n". */
typedef void (*InfoTextSink)(void *context, const wchar_t *piece);
void EmitInfoText(const InfoTexts *texts, InfoTextSink sink, void *context);

/* Writes the window's text to standard output, after lead (when not
** null): what is shown where no window can be seen. */
void WriteInfoText(const FileInfoRecord *record, const wchar_t *lead);

/* The dialog procedure of template IDD_FILE_INFO; the initialisation
** parameter is the address of a FileInfoRecord.  Always 0. */
INT_PTR CALLBACK InfoDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

/*
** Where the information window goes, chosen when the hotkey or the command
** runs, before the facts are gathered.  Its owner is the console window,
** visible or hidden (a terminal's pseudo console), or none: without one, or
** when it is minimised (a minimised owner hides what it owns).  The modal
** window disables its owner until it closes, so the owner is never another
** program's window: a terminal stays usable meanwhile.  It is placed over
** the window the user sees, at (0, 0) of its client area: the visible
** console, else the visible window of another program that owns a hidden
** one (the terminal), else the window in front when it answers, else none
** (the primary monitor); always whole on that monitor's work area.
*/
struct InfoWindowPlace {
    HWND owner;
    HWND over;
};
void ChooseInfoWindowPlace(InfoWindowPlace *place);

/* Shows the modal window for record where place says (chosen again when
** its windows are no longer windows); returns when it has closed: IDOK or
** IDCANCEL, or 0 or -1 when it could not be opened. */
INT_PTR ShowInfoWindow(const FileInfoRecord *record, const InfoWindowPlace *place);

/* Brings window in front, even when another thread owns the foreground
** window, and leaves the system's settings as they were: 0, or
** FOREGROUND_NO_WINDOW for a null window. */
int ForceForeground(HWND window);

enum { FOREGROUND_NO_WINDOW = -1 };

/* Puts the text of the information window (EmitInfoText) on the clipboard
** as Unicode text: 0, or one of the results below. */
int CopyWindowTexts(HWND window);

enum {
    COPY_NO_TEXT = -1,          /* the text cannot be made */
    COPY_CLIPBOARD_BUSY = -2,   /* the clipboard cannot be opened: it keeps what it had */
    COPY_NOT_EMPTIED = -3,      /* the clipboard cannot be emptied: it keeps what it had */
    COPY_NOT_PLACED = -4        /* emptied, but the text cannot be placed */
};

/* Makes Ctrl+C and Ctrl+Insert copy the texts of record, which window
** shows, while it is open, with a message filter of this thread: 0 when
** installed, or one of the results below.  StopCopyKeys removes it when
** window has it (0), else does nothing (COPY_KEYS_ELSEWHERE). */
int StartCopyKeys(HWND window, const FileInfoRecord *record);
int StopCopyKeys(HWND window);

enum {
    COPY_KEYS_ELSEWHERE = 1,    /* another window has the copy keys */
    COPY_KEYS_NO_WINDOW = -1,
    COPY_KEYS_NO_FILTER = -2    /* the message filter cannot be installed */
};

#endif /* TIRVALO_INFO_DIALOG_H */
