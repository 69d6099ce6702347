/*
** The field formatters: each turns one fact about a file or directory into
** a text of the information window, in a buffer its caller owns.
*/
#ifndef TIRVALO_FORMATTERS_H
#define TIRVALO_FORMATTERS_H

#include "host_questions.h"

/* Capacities, in units with the terminator. */
enum {
    FIELD_CAPACITY = 1024,          /* every field below but the description */
    DESCRIPTION_CAPACITY = 8192
};

/*
** Thousands separators, by the host's "%@comma[...]", in a number text held
** in a buffer of FIELD_CAPACITY units: 0 when grouped, else one of the
** results below.  Only 0 changes the text.
*/
int GroupDigits(wchar_t *text);

enum {
    GROUP_NULL_TEXT = -1,
    GROUP_TEXT_TOO_LONG = 1,       /* longer than 8182 units */
    GROUP_EXPANSION_FAILED = 2,
    GROUP_RESULT_TOO_LONG = 3      /* FIELD_CAPACITY units or more */
};

/*
** The file's description from the host's "%@descript[...]", into out
** (DESCRIPTION_CAPACITY units); "—" when the host has none, cannot give one
** (its expansion fails), or cannot be asked (the path holds "]").  0 when
** written, else one of the results below.  Only 0 changes out.  entry is
** the attribute bits of the path's entry, when known (host_questions.h).
*/
int GetDescription(const wchar_t *path, wchar_t *out, unsigned int entry = ENTRY_UNKNOWN);

enum {
    DESCRIPTION_NULL_ARGUMENT = -1,
    DESCRIPTION_NO_FILE = 2,           /* an empty path, or no such file or directory */
    DESCRIPTION_PATH_TOO_LONG = 3,     /* for the host's buffer */
    DESCRIPTION_TOO_LONG = 111         /* DESCRIPTION_CAPACITY units or more */
};

/* A file's size: "1,536 bytes  (1.50 KB)", or "500 bytes" below 1 KB.
** Always 0. */
int FormatSize(wchar_t *out, unsigned long long size);

/* A directory's contents: "1,234 files, 1 subdir"; "0 files, 0 subdirs"
** for one that cannot be listed, or whose listing fails part way.
** directory has no trailing backslash.  Always 0.  The caller leaves out
** a folder that is not wholly on the disk: listing it would fetch it. */
int FormatContents(wchar_t *out, const wchar_t *directory);

/* Appends the words of the attribute bits to text, which the caller
** empties first ("ReadOnly Archive ", "- none -").  Always 0. */
int FormatAttributes(wchar_t *text, unsigned int attributes);

/*
** One timestamp (a count of 100-nanosecond intervals since 1601, UTC):
** in UTC when SmartTimes is 2, else in local time, by the rules in force at
** that date when perDate is set or by the present offset when not; the
** time of day is left out when dateOnly is set.  A time that cannot be
** converted or formatted leaves text empty.  Always 0.
*/
int FormatTimestamp(wchar_t *text, unsigned long long time, int dateOnly, int perDate);

/* The owner of a file or directory, as "DOMAIN\name" or the bare name, into
** out (FIELD_CAPACITY units), which is left alone when no owner name is
** found.  0 done, else one of the results below. */
int GetOwnerName(wchar_t *out, const wchar_t *path);

enum {
    OWNER_NO_PATH = -1,      /* a null or empty path */
    OWNER_NOT_OPENED = 1     /* the path cannot be opened for reading its owner */
};

#endif /* TIRVALO_FORMATTERS_H */
