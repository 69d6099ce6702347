/*
** The keystroke handler the host calls for every keystroke on the command
** line, and the routine that shows the window for the word at the cursor.
*/
#ifndef TIRVALO_KEYSTROKE_H
#define TIRVALO_KEYSTROKE_H

#include "frame/host_api.h"   /* KeystrokeRecord */

extern "C" int key(KeystrokeRecord *record);

/* Shows the information window for the word at the cursor: the result of
** ShowFileInfo, or -1 when either pointer is null. */
int FindWordAtCursor(const wchar_t *line, const wchar_t *cursor);

#endif /* TIRVALO_KEYSTROKE_H */
