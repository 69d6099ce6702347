/*
** How the shell hands a keystroke on the command line to a plug-in's
** keystroke handler: the handler's type (its record is the plug-in
** interface's KeystrokeRecord), and the key code (or, on hosts of version 24
** and above, the key name) the shell gives for a console key event.
*/
#ifndef KORRASH_KEYSTROKE_H
#define KORRASH_KEYSTROKE_H

#include <windows.h>

#include <string>

#include "../frame/host_api.h"

typedef int (*KeystrokeHandler)(KeystrokeRecord *record);

/* A keystroke as the shell delivers it: a code, or (name not empty) code 0
** and a name in the hotkey-name form. */
struct HostKeystroke {
    int code = 0;
    std::wstring name;
};

/*
** The keystroke for a key-down event of the console, or false for events
** that are no keystroke (key releases, modifier keys alone).  With keyNames
** set (a host of version 24 or above), keystrokes that have no code of the
** older hosts are delivered by name.
*/
bool TranslateKeyEvent(const KEY_EVENT_RECORD &event, bool keyNames, HostKeystroke *keystroke);

#endif
