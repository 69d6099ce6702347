/*
** Bounded UTF-16 text helpers, used by every routine of the plug-in.
**
** A text is a zero-terminated array of 16-bit units.  Every routine that
** writes takes the capacity of its buffer in units, the terminator included,
** and leaves the buffer terminated whenever the capacity is at least 1; a
** text that does not fit is cut, never written past the buffer.
**
** This file and text.cpp include no platform header and call no C library
** wide-string function, so that the routines which only handle text can also
** be compiled natively (with a 16-bit wchar_t) for sanitizers and fuzzers.
** The one thing they need from the platform, the classification of
** characters above U+00FF, comes through PlatformCharClass().
*/
#ifndef TIRVALO_TEXT_H
#define TIRVALO_TEXT_H

/* Status of the writing helpers. */
enum {
    TEXT_OK = 0,        /* the whole text was written */
    TEXT_CUT = 1,       /* the text was cut to fit the buffer */
    TEXT_NO_ROOM = -1   /* null buffer or capacity below 1: nothing written */
};

/* Units before the terminator; 0 for a null text. */
int TextLength(const wchar_t *text);

/* Copies text (a null text counts as empty) into buffer. */
int TextCopy(wchar_t *buffer, int capacity, const wchar_t *text);

/* Copies at most count units of text, stopping early at its terminator. */
int TextCopyUnits(wchar_t *buffer, int capacity, const wchar_t *text, int count);

/* Appends text to the terminated text already in buffer. */
int TextAppend(wchar_t *buffer, int capacity, const wchar_t *text);

/* Appends one unit to the terminated text already in buffer. */
int TextAppendUnit(wchar_t *buffer, int capacity, wchar_t unit);

/* Appends one unit to a text whose length the caller keeps in *length, so
** that building a long text unit by unit costs no rescans. */
int TextPutUnit(wchar_t *buffer, int capacity, int *length, wchar_t unit);

/* The unit with a to z turned into A to Z; every other unit unchanged. */
wchar_t UpperAscii(wchar_t unit);

/* Upper-cases the ASCII letters of a terminated text in place. */
void TextUpperAscii(wchar_t *text);

/* 1 when both texts are equal with the ASCII letters compared without regard
** to case, else 0.  Null texts are equal only to each other. */
int TextEqualNoCase(const wchar_t *a, const wchar_t *b);

/* 1 when the first count units of a and b are equal in the same way (both
** may end early, together), else 0. */
int TextEqualNoCaseN(const wchar_t *a, const wchar_t *b, int count);

/* 1 when text has exactly length units and they equal the first length
** units of span, ASCII letters compared without regard to case; else 0.
** The span need not be terminated, so a piece of a longer text can be
** compared where it stands. */
int TextEqualNoCaseSpan(const wchar_t *span, int length, const wchar_t *text);

/* Index of the first unit equal to unit, or -1. */
int TextFindUnit(const wchar_t *text, wchar_t unit);

/* Index of the last unit equal to unit, or -1. */
int TextFindLastUnit(const wchar_t *text, wchar_t unit);

/* Index of the first occurrence of needle (compared exactly), or -1.  An
** empty needle is found at 0. */
int TextFind(const wchar_t *text, const wchar_t *needle);

/*
** The leading decimal integer of a text, read as the C library's
** string-to-long conversion reads it with base 10 and the platform's 32-bit
** long: leading white space, an optional sign, then digits.  *stop receives the address of
** the first unit not used (the text itself when there are no digits);
** *outOfRange is set to 1 when the value did not fit and was clamped, else 0.
*/
int TextToLong(const wchar_t *text, const wchar_t **stop, int *outOfRange);

/* Character classes.  White space is U+0009 to U+000D, U+0020, U+00A0 and,
** above U+00FF, what the platform classes as space.  A letter is A to Z,
** a to z, U+00C0 to U+00FF except U+00D7 and U+00F7, and, above U+00FF, what
** the platform classes as alphabetic, upper case or lower case. */
int IsWhiteSpace(wchar_t unit);
int IsLetter(wchar_t unit);

/* Platform classification of one unit above U+00FF, implemented once for
** each platform the text routines are built for. */
enum {
    CHAR_CLASS_SPACE = 1,
    CHAR_CLASS_LETTER = 2
};
int PlatformCharClass(wchar_t unit);

#endif /* TIRVALO_TEXT_H */
