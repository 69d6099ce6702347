/*
** The scans of file names and command texts that the file information
** needs: the extension of a full name, the wildcard test, the name part,
** the undoubling of percent signs a user typed for the host, the doubling of
** them for a text handed to the host, the extension a file-type lookup
** uses, and the program part of an open command.
**
** Text only: no platform header and no C library wide-string function, like
** frame/text.h, so that these routines can be built natively too.
*/
#ifndef TIRVALO_NAME_SCAN_H
#define TIRVALO_NAME_SCAN_H

/*
** The extension of a full name, dot included: the text from the last dot
** that no slash, backslash or colon follows.  A name ending in a dot has the
** lone dot as its extension.  extension is emptied when there is none, and
** also when the extension does not fit its capacity (such an extension can
** be neither ".exe" nor ".dll").  Returns 1 when an extension was written,
** else 0.
*/
int FindExtension(const wchar_t *fullName, wchar_t *extension, int capacity);

/*
** 1 when the full name holds a wildcard: any "*", "<", ">" or double quote
** (which the file system matches as wildcards too), or a "?" other than the
** one of the long-path prefix "\\?\" at its start; else 0.
*/
int HasWildcard(const wchar_t *fullName);

/*
** path as the platform's file calls take it at any length.  On Windows a
** process that has not opted in to long paths (which a plug-in cannot do
** for its host) gets "path not found" for any path of LONG_PATH_UNITS
** units or more, unless it is in the long-path form.  Such a path, when it
** is a drive path "C:\..." or a share "\\server\share\...", is written
** to room as "\\?\C:\..." or "\\?\UNC\server\share\..." and room is
** given; any other path is given as it is: a shorter one, one already in a
** long form ("\\?\", "\\.\"), a relative one, or one whose long form
** does not fit room's capacity.  room may be path itself, then rewritten
** in place.
*/
const wchar_t *FileSystemPath(const wchar_t *path, wchar_t *room, int capacity);

enum { LONG_PATH_UNITS = 260 };   /* the platform's MAX_PATH */

/*
** 1 when path is to be normalised (made a full path by the platform) before
** it takes the long-path form, which turns the platform's own normalisation
** off: a path of LONG_PATH_UNITS units or more, not in a long form already,
** that holds a "/" or a "." or ".." component.  Else 0.
*/
int NeedsNormalising(const wchar_t *path);

/* 1 when fullName is a drive letter and a colon alone ("C:", what the root
** "C:\" becomes without its backslash): on Windows that names the current
** directory of that drive, not the drive. */
int IsBareDrive(const wchar_t *fullName);

/* The units after the last backslash (all of the name when it has none),
** with the ASCII letters upper-cased. */
void NamePart(const wchar_t *fullName, wchar_t *namePart, int capacity);

/*
** Replaces, left to right, every "%%" in text by "%"; scanning goes on after
** each replaced pair, so "%%%%" becomes "%%" and "%%%" becomes "%%".
** Returns the number of pairs replaced.
*/
int UndoublePercents(wchar_t *text);

/* Replaces every U+FF05 FULLWIDTH PERCENT SIGN in text by "%". */
void NarrowPercents(wchar_t *text);

/*
** Appends text to the terminated text in buffer with every "%" doubled, so
** that the host's expander reads each as a literal percent sign.  Returns
** TEXT_OK, TEXT_CUT when the result did not fit (buffer then holds what
** fitted), or TEXT_NO_ROOM (frame/text.h).
*/
int AppendDoublingPercents(wchar_t *buffer, int capacity, const wchar_t *text);

/*
** The extension a file-type lookup uses: the last name component's text
** from its last full stop on, upper-cased (ASCII letters only); a backslash
** or a colon starts a new component, a forward slash does not.  Returns 0
** with piece filled when that text is a full stop followed by at least one
** unit; else -1 with piece empty (no full stop in the last component, a name
** ending in a full stop, or an extension longer than piece can hold).
*/
int LookupExtension(const wchar_t *path, wchar_t *piece, int capacity);

/*
** The program part of an open command: leading white space outside quotes
** skipped, then every unit up to the first white space outside quotes,
** double quotes switching the quoted state and not kept.  Returns TEXT_OK,
** or TEXT_CUT when the program part did not fit.
*/
int ProgramPart(const wchar_t *command, wchar_t *program, int capacity);

/* 1 when the program part of command is exactly a file-name placeholder of
** the shell: "%1", "%L" or "%l". */
int IsPlaceholderCommand(const wchar_t *command);

#endif /* TIRVALO_NAME_SCAN_H */
