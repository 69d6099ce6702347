/*
** The texts one showing of the information window works in, kept together
** so that they can live where there is room for them: on the stack of the
** call, or, on a thread with a small stack, in one heap block
** (show_file_info.cpp).  Private to fileinfo/.
*/
#ifndef TIRVALO_SHOW_TEXTS_H
#define TIRVALO_SHOW_TEXTS_H

#include "fileinfo.h"
#include "filetype.h"
#include "formatters.h"

enum { TEXT_CAPACITY = 1024 };

/* What is shown: a name, or (name null) the word at the cursor of a
** command line; and what the text starts with where no window can be
** seen. */
struct ShowRequest {
    const wchar_t *name;
    const wchar_t *line;
    long long cursorIndex;
    const wchar_t *textLead;
};

/* Finding the file: the working copy of the name, the volume's file system. */
struct FindTexts {
    wchar_t working[PATH_CAPACITY];
    wchar_t fileSystem[TEXT_CAPACITY];
};

/* The window's fields, gathered once the file is found. */
struct FieldTexts {
    wchar_t title[TITLE_CAPACITY];
    wchar_t description[DESCRIPTION_CAPACITY];
    wchar_t sizeOrContents[FIELD_CAPACITY];
    wchar_t attributesText[FIELD_CAPACITY];
    wchar_t created[FIELD_CAPACITY];
    wchar_t modified[FIELD_CAPACITY];
    wchar_t accessed[FIELD_CAPACITY];
    wchar_t owner[FIELD_CAPACITY];
    wchar_t fileType[FILE_TYPE_CAPACITY];
    wchar_t opensWith[FILE_TYPE_CAPACITY];
};

/* The full name and the name part last the whole showing; the texts of
** the two phases, one after the other, share their room. */
struct ShowTexts {
    wchar_t fullName[PATH_CAPACITY];
    wchar_t namePart[PATH_CAPACITY];
    union {
        FindTexts find;
        FieldTexts fields;
    } phase;
};

/* Shows the window for request, in texts: the result of ShowFileInfo. */
int ShowWithTexts(const ShowRequest *request, ShowTexts *texts);

/* ShowWithTexts with the texts on the stack: a routine of its own, in
** another file than its caller, so that no caller's frame holds them. */
int ShowWithTextsOnStack(const ShowRequest *request);

#endif /* TIRVALO_SHOW_TEXTS_H */
