/*
** What every fuzz target shares: the input cut into parameter bytes and
** texts, and the check that turns a broken property into a finding.
**
** A text is the input's bytes read as UTF-8 up to a zero byte (see
** DecodeUnits in support/units.h: every byte string is a text, lone
** surrogates included), so the seed corpus is readable.  Each text is put
** in a heap block of exactly its size, so that the address sanitizer sees
** a unit read past its terminator.
*/
#ifndef TIRVALO_FUZZ_INPUT_H
#define TIRVALO_FUZZ_INPUT_H

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include "support/units.h"

struct FuzzInput {
    const uint8_t *data;
    size_t size;
    size_t position;
};

/* The next byte as a parameter, or 0 at the end. */
inline int TakeByte(FuzzInput *input)
{
    return input->position < input->size ? input->data[input->position++] : 0;
}

/* The next text, up to a zero byte or the end, in a block of exactly its
** size; *length receives its units.  Free it with FreeUnits. */
inline wchar_t *TakeText(FuzzInput *input, int *length)
{
    size_t used = 0;
    size_t rest = input->size - input->position;
    int capacity = (int)(rest < 0x100000 ? rest : 0x100000) * 2 + 1;
    wchar_t *scratch = NewUnits(capacity);
    int n = DecodeUnits(input->data + input->position, rest, &used, scratch, capacity);
    wchar_t *text = NewUnits(n + 1);
    for (int i = 0; i <= n; i++) text[i] = scratch[i];
    FreeUnits(scratch);
    input->position += used;
    if (length != 0) *length = n;
    return text;
}

/* A property that must hold: when it does not, say which and stop, which
** libFuzzer reports as a finding with the input that caused it. */
#define REQUIRE(condition)                                                          \
    do {                                                                            \
        if (!(condition)) {                                                         \
            fprintf(stderr, "property broken at %s:%d: %s\n", __FILE__, __LINE__,   \
                    #condition);                                                    \
            abort();                                                                \
        }                                                                           \
    } while (0)

#endif /* TIRVALO_FUZZ_INPUT_H */
