/*
** The native test harness.  See check.h.
*/
#include <stdio.h>

#include "check.h"
#include "support/units.h"

namespace {

enum { MAX_TESTS = 256 };

struct Test {
    const char *name;
    NativeTestFunction function;
};

Test Tests[MAX_TESTS];
int TestCount = 0;
int CurrentFailures = 0;
const char *CurrentName = "";

void Report(const char *file, int line, const char *what)
{
    if (CurrentFailures == 0) fprintf(stderr, "[ FAILED ] %s\n", CurrentName);
    CurrentFailures++;
    fprintf(stderr, "  %s:%d: %s\n", file, line, what);
}

}  // namespace

NativeTestRegistration::NativeTestRegistration(const char *name, NativeTestFunction function)
{
    if (TestCount < MAX_TESTS) {
        Tests[TestCount].name = name;
        Tests[TestCount].function = function;
    }
    TestCount++;
}

void CheckFailed(const char *file, int line, const char *what)
{
    Report(file, line, what);
}

void CheckEqual(const char *file, int line, const char *what, long long expected, long long actual)
{
    if (expected == actual) return;
    Report(file, line, what);
    fprintf(stderr, "    expected %lld (0x%llX), got %lld (0x%llX)\n", expected,
            (unsigned long long)expected, actual, (unsigned long long)actual);
}

void CheckText(const char *file, int line, const char *what, const wchar_t *expected,
               const wchar_t *actual)
{
    int length = UnitCount(expected);
    if (actual != 0 && UnitCount(actual) == length && SameUnits(expected, actual, length)) return;
    Report(file, line, what);
    fprintf(stderr, "    expected \"");
    PrintUnits(stderr, expected, length);
    fprintf(stderr, "\"\n    got      \"");
    if (actual != 0) PrintUnits(stderr, actual, UnitCount(actual));
    fprintf(stderr, "\"\n");
}

int main(void)
{
    int passed = 0, failed = 0, i;
    if (TestCount > MAX_TESTS) {
        fprintf(stderr, "more than %d tests: raise MAX_TESTS\n", MAX_TESTS);
        return 1;
    }
    for (i = 0; i < TestCount; i++) {
        CurrentName = Tests[i].name;
        CurrentFailures = 0;
        Tests[i].function();
        if (CurrentFailures == 0) {
            passed++;
            printf("[       OK ] %s\n", Tests[i].name);
        } else {
            failed++;
        }
    }
    printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 && passed > 0 ? 0 : 1;
}
