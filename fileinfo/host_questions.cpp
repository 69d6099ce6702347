/*
** The host's questions about a path, answered from its entry where the
** host could not.  See host_questions.h.
*/
#include "host_questions.h"

#include "name_scan.h"
#include "frame/host_api.h"
#include "frame/text.h"

enum { DIRECTORY_BIT = 0x10 };

int PathIs(const wchar_t *path, unsigned int attributes, int question)
{
    if (attributes == ENTRY_UNKNOWN || TextLength(path) < LONG_PATH_UNITS) {
        if (question == PATH_IS_FILE) return QueryIsFile(path) != 0;
        if (question == PATH_IS_DIRECTORY) return QueryIsDirectory(path) != 0;
        return QueryIsFileOrDirectory(path) != 0;
    }
    if (question == PATH_IS_FILE) return (attributes & DIRECTORY_BIT) == 0;
    if (question == PATH_IS_DIRECTORY) return (attributes & DIRECTORY_BIT) != 0;
    return 1;
}
