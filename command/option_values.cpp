/*
** The parsers of the values of the command's /C and /T options.  Text
** only: no platform header.
*/
#include "frame/text.h"
#include "command.h"

/* The words of the values 0, 1 and 2. */
static const wchar_t *const ValueWords[3] = {L"off", L"on", L"utc"};

/* The value of text among the first count values, or OPTION_NO_VALUE: its
** digit alone, else its word in any case.  Because the letters after the
** slash are all passed over, a word needs the separator ("/C:ON") while a
** digit may follow the option letter ("/C0"). */
static int ParseOptionValue(const wchar_t *text, int count)
{
    int i;

    if (text == 0) return OPTION_NO_VALUE;
    if (*text == L'/') text++;
    while (IsLetter(*text)) text++;
    if (*text == L':' || *text == L'=') text++;
    if (text[0] >= L'0' && text[0] < L'0' + count && text[1] == 0) return text[0] - L'0';
    for (i = 0; i < count; i++) {
        if (TextEqualNoCase(text, ValueWords[i])) return i;
    }
    return OPTION_NO_VALUE;
}

int ParseOnOff(const wchar_t *text)
{
    return ParseOptionValue(text, 2);
}

int ParseOffOnUtc(const wchar_t *text)
{
    return ParseOptionValue(text, 3);
}
