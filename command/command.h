/*
** The tirvalo command, which the host calls with the text after the
** command's name, and the parsers of its /C and /T values.
*/
#ifndef TIRVALO_COMMAND_H
#define TIRVALO_COMMAND_H

extern "C" {
/* The command: 0 success, 1 an error in the arguments, 2 a failure of the
** registry or of a /F file, -1 for a null text. */
int tirvalo(const wchar_t *arguments);
}

/*
** The value of an option argument such as "/C:ON": after an optional
** leading slash every letter is passed over (the option's name), then one
** ":" or "=".  What is left must be "0", "1" or, ignoring case, "off" or
** "on"; ParseOffOnUtc also knows "2" and "utc".  The result is 0 off, 1 on,
** 2 UTC, or -1 when there is no valid value.
*/
int ParseOnOff(const wchar_t *text);
int ParseOffOnUtc(const wchar_t *text);

#endif /* TIRVALO_COMMAND_H */
