/*
** The host's questions about a path: is it a file, a directory, either?
** The host asks the platform with the plain name, which on Windows without
** long-path support finds nothing of LONG_PATH_UNITS units or more: for
** such a name the answer comes from the attribute bits of the entry the
** search found.  A shorter name, or one whose entry is not known
** (ENTRY_UNKNOWN), is asked of the host as it is.
*/
#ifndef TIRVALO_HOST_QUESTIONS_H
#define TIRVALO_HOST_QUESTIONS_H

enum { ENTRY_UNKNOWN = 0xFFFFFFFF };   /* no entry's attributes: the platform's invalid bits */

enum {
    PATH_IS_FILE = 1,
    PATH_IS_DIRECTORY = 2,
    PATH_EXISTS = 3            /* either */
};

/* 1 when path is what question asks, else 0; attributes are those of its
** entry, or ENTRY_UNKNOWN. */
int PathIs(const wchar_t *path, unsigned int attributes, int question);

#endif /* TIRVALO_HOST_QUESTIONS_H */
