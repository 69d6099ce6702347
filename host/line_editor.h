/*
** The interactive prompt's line editor.  It reads the console's key events
** and hands every keystroke to the plug-in's keystroke handler before acting
** on it, as the shell does; a keystroke the handler consumes is not acted on.
*/
#ifndef KORRASH_LINE_EDITOR_H
#define KORRASH_LINE_EDITOR_H

#include <string>

#include "keystroke.h"

/* Edits one line after showing prompt; false at the end of input (Ctrl-Z on
** an empty line, or the console closed). */
bool EditLine(const std::wstring &prompt, KeystrokeHandler handler, bool keyNames, std::wstring *line);

/* Hands one keystroke to the handler with the line and cursor index given;
** true when the handler consumed it. */
bool DeliverKeystroke(KeystrokeHandler handler, const HostKeystroke &keystroke,
                      const std::wstring &line, size_t cursor);

#endif
