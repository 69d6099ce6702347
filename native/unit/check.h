/*
** A small test harness for the native unit tests.  GoogleTest cannot serve
** here: its wide-text support goes through std::wstring and the C library,
** whose wchar_t is 32-bit while the native build's is 16-bit.
**
**   NATIVE_TEST(Name) { CHECK_EQ(3, f()); CHECK_TEXT(L"abc", buffer); }
**
** Every test runs in order; a failed check reports its place and values and
** the test goes on.  The program ends with "N passed, N failed".
*/
#ifndef TIRVALO_NATIVE_CHECK_H
#define TIRVALO_NATIVE_CHECK_H

#include <initializer_list>   /* for loops over lists of cases */

typedef void (*NativeTestFunction)(void);

struct NativeTestRegistration {
    NativeTestRegistration(const char *name, NativeTestFunction function);
};

void CheckFailed(const char *file, int line, const char *what);
void CheckEqual(const char *file, int line, const char *what, long long expected, long long actual);
void CheckText(const char *file, int line, const char *what, const wchar_t *expected,
               const wchar_t *actual);

#define NATIVE_TEST(name)                                                  \
    static void name(void);                                                \
    static NativeTestRegistration name##Registration(#name, name);         \
    static void name(void)

#define CHECK(condition) \
    ((condition) ? (void)0 : CheckFailed(__FILE__, __LINE__, #condition))
#define CHECK_EQ(expected, actual) \
    CheckEqual(__FILE__, __LINE__, #actual, (long long)(expected), (long long)(actual))
#define CHECK_TEXT(expected, actual) CheckText(__FILE__, __LINE__, #actual, expected, actual)

#endif /* TIRVALO_NATIVE_CHECK_H */
