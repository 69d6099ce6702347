/*
** The command's help text, shared by Usage, Help and the command's /? option.
** Text only: no platform header.
*/
#ifndef TIRVALO_HELP_H
#define TIRVALO_HELP_H

extern const wchar_t HelpText[];

/* Copies the help text from its syntax line on (the part after the first
** line feed and any line feeds right after it) into buffer. */
int CopyUsageText(wchar_t *buffer, int capacity);

#endif /* TIRVALO_HELP_H */
