/*
** The classification of characters above U+00FF from a table rather than
** from the platform: what PlatformCharClass (text.h) gives on a platform
** without the Windows call.  Text only: no platform header.
*/
#ifndef TIRVALO_CHARTYPE_TABLE_H
#define TIRVALO_CHARTYPE_TABLE_H

/* CHAR_CLASS_SPACE, CHAR_CLASS_LETTER (text.h) or 0 for one unit; units up
** to U+00FF give 0, as the text helpers classify those themselves. */
int TableCharClass(wchar_t unit);

#endif /* TIRVALO_CHARTYPE_TABLE_H */
