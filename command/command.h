/*
** The tirvalo command, which the host calls with the text after the
** command's name, and the parsers of its /C and /T values.
*/
#ifndef TIRVALO_COMMAND_H
#define TIRVALO_COMMAND_H

extern "C" {
/* The command: one of the results below. */
int tirvalo(const wchar_t *arguments);
}

enum {
    COMMAND_OK = 0,
    COMMAND_BAD_ARGUMENTS = 1,
    COMMAND_FAILED = 2,         /* the registry, or a /F file */
    COMMAND_NULL_TEXT = -1
};

/*
** The value of an option argument such as "/C:ON": after an optional
** leading slash every letter is passed over (the option's name), then one
** ":" or "=".  What is left must be "0", "1" or, ignoring case, "off" or
** "on"; ParseOffOnUtc also knows "2" and "utc".  The result is 0 off, 1 on,
** 2 UTC, or OPTION_NO_VALUE when there is no valid value.
*/
int ParseOnOff(const wchar_t *text);
int ParseOffOnUtc(const wchar_t *text);

enum { OPTION_NO_VALUE = -1 };

#endif /* TIRVALO_COMMAND_H */
