/*
** UTF-16 texts in the native build, which compiles the text routines with a
** 16-bit wchar_t: there the C library's wide functions and std::wstring
** work on 32-bit units and must not touch our texts, so the tests and the
** fuzzers decode, compare and print them with these.
*/
#ifndef TIRVALO_NATIVE_UNITS_H
#define TIRVALO_NATIVE_UNITS_H

#include <stddef.h>
#include <stdio.h>

static_assert(sizeof(wchar_t) == 2, "the native build needs -fshort-wchar");

/*
** Decodes bytes as UTF-8 into units, up to the first zero byte or the end,
** whichever comes first; *used receives the bytes read, the zero byte
** included.  Sequences of three bytes may encode surrogates, so that a lone
** surrogate can be written; four-byte sequences become surrogate pairs; a
** byte that starts no valid sequence becomes the unit 0xDC00 plus the byte.
** So every byte string is some text, and every text can be written.  At most
** capacity - 1 units are written, then a terminator; returns the units
** written.
*/
int DecodeUnits(const unsigned char *bytes, size_t size, size_t *used, wchar_t *out, int capacity);

/* Writes units to stream as UTF-8; units that are not characters on their
** own (lone surrogates, controls) as \uXXXX. */
void PrintUnits(FILE *stream, const wchar_t *text, int length);

/* Units before the terminator, counted here rather than by TextLength, so
** that checks do not lean on the routine under test. */
int UnitCount(const wchar_t *text);

/* 1 when the length units at a equal those at b. */
int SameUnits(const wchar_t *a, const wchar_t *b, int length);

/* Index of the first place where needle (needleLength units) stands in
** text (textLength units), or -1. */
int FindUnits(const wchar_t *text, int textLength, const wchar_t *needle, int needleLength);

/* The unit with a to z turned into A to Z, done here for the checks. */
wchar_t FoldAscii(wchar_t unit);

/* A heap block of exactly capacity units, each set to 0xFFFF, so that the
** address sanitizer reports any unit written or read past its end; and its
** release. */
wchar_t *NewUnits(int capacity);
void FreeUnits(wchar_t *units);

#endif /* TIRVALO_NATIVE_UNITS_H */
