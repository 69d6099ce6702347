/*
** The owner of a file or directory, from its security descriptor.
*/
#include <windows.h>
#include <aclapi.h>

#include "formatters.h"
#include "frame/text.h"

int GetOwnerName(wchar_t *out, const wchar_t *path)
{
    enum { ACCOUNT_CAPACITY = 1024 };
    wchar_t name[ACCOUNT_CAPACITY];
    wchar_t domain[ACCOUNT_CAPACITY];
    DWORD nameSize = ACCOUNT_CAPACITY, domainSize = ACCOUNT_CAPACITY;
    SID_NAME_USE use;
    PSID owner = 0;
    PSECURITY_DESCRIPTOR descriptor = 0;
    HANDLE file;

    if (path == 0 || path[0] == 0) return OWNER_NO_PATH;
    /* Backup semantics let directories open too.  Read sharing alone: a file
    ** that someone is writing counts as one that cannot be opened. */
    file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, 0, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS, 0);
    if (file == 0 || file == INVALID_HANDLE_VALUE) return OWNER_NOT_OPENED;

    name[0] = 0;
    domain[0] = 0;
    if (GetSecurityInfo(file, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, 0, 0, 0,
                        &descriptor) == ERROR_SUCCESS &&
        descriptor != 0) {
        if (owner != 0 && !LookupAccountSidW(0, owner, name, &nameSize, domain, &domainSize, &use)) {
            /* A failed lookup may have left part of a name behind. */
            name[0] = 0;
        }
        LocalFree(descriptor);
    }
    CloseHandle(file);

    if (name[0] == 0) return 0;
    out[0] = 0;
    if (domain[0] != 0) {
        TextAppend(out, FIELD_CAPACITY, domain);
        TextAppend(out, FIELD_CAPACITY, L"\\");
    }
    TextAppend(out, FIELD_CAPACITY, name);
    return 0;
}
