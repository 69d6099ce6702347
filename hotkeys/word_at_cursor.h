/*
** The word at the command-line cursor: the name the hotkey shows the
** information window for.  Text only: no platform header.
*/
#ifndef TIRVALO_WORD_AT_CURSOR_H
#define TIRVALO_WORD_AT_CURSOR_H

enum { WORD_CAPACITY = 32768 };   /* a word keeps at most its first 32767 units */

/*
** Writes into word (capacity units) the word of line that holds the unit at
** cursorIndex, or, when that unit is a separator, the word that ends right
** before it; the last word when the cursor stands at the end.  A name in
** double quotes is one word without its quotes; for a host function call
** written "%@name[argument]" the word is the argument.  Returns the word's
** length.
*/
int ExtractWordAtCursor(const wchar_t *line, long long cursorIndex, wchar_t *word, int capacity);

#endif /* TIRVALO_WORD_AT_CURSOR_H */
