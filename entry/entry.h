/*
** The entry points that tie the subsystems together: loading, which checks
** the host and establishes the options, and the keystroke handler, which
** turns the hotkey into the information window for the word at the cursor.
** They stand above every other folder of the plug-in; the command, which
** ties them together too, has its own (command/).
*/
#ifndef TIRVALO_ENTRY_H
#define TIRVALO_ENTRY_H

#include "frame/host_api.h"   /* KeystrokeRecord */

extern "C" {
/* 0 when the plug-in is ready, -1 when it refuses to run in this host. */
int InitializePlugin(void);

/* The keystroke handler: consumes the hotkey (its code, and on newer hosts
** its name, cleared) after showing the window; always 0. */
int key(KeystrokeRecord *record);
}

/* Shows the information window for the word at the cursor: the result of
** ShowFileInfo, or -1 when either pointer is null. */
int FindWordAtCursor(const wchar_t *line, const wchar_t *cursor);

#endif /* TIRVALO_ENTRY_H */
