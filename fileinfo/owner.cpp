/*
** The owner of a file or directory, from its security descriptor.
*/
#include <windows.h>
#include <aclapi.h>

#include "formatters.h"
#include "frame/text.h"

int GetOwnerName(wchar_t *out, const wchar_t *path)
{
    enum { ACCOUNT_CAPACITY = 1024 };  // NOLINT(performance-enum-size): constants; no object has this type
    wchar_t name[ACCOUNT_CAPACITY];
    wchar_t domain[ACCOUNT_CAPACITY];
    DWORD nameSize = ACCOUNT_CAPACITY, domainSize = ACCOUNT_CAPACITY;
    SID_NAME_USE use;
    PSID owner = 0;
    PSECURITY_DESCRIPTOR descriptor = 0;
    HANDLE file;
    DWORD status;

    if (path == 0 || path[0] == 0) return OWNER_NO_PATH;
    /* Backup semantics let directories open too.  Read sharing alone: a file
    ** that someone is writing counts as one that cannot be opened.  A file
    ** of a cloud-files provider that is not on the disk stays where it is:
    ** the open itself fetches nothing. */
    file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, 0, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_NO_RECALL, 0);
    if (file == 0 || file == INVALID_HANDLE_VALUE) return OWNER_NOT_OPENED;
    status = GetSecurityInfo(file, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, 0, 0, 0,
                             &descriptor);
    /* The descriptor, and the owner in it, stay ours until freed.  The file
    ** is closed before the account is looked up, which for a domain account
    ** may wait many seconds for a domain controller: nobody else is kept
    ** from writing, renaming or deleting the file meanwhile. */
    CloseHandle(file);

    name[0] = 0;
    domain[0] = 0;
    if (status == ERROR_SUCCESS && descriptor != 0) {
        if (owner != 0 && !LookupAccountSidW(0, owner, name, &nameSize, domain, &domainSize, &use)) {
            /* A failed lookup may have left part of a name behind. */
            name[0] = 0;
        }
        LocalFree(descriptor);
    }

    if (name[0] == 0) return 0;
    out[0] = 0;
    if (domain[0] != 0) {
        TextAppend(out, FIELD_CAPACITY, domain);
        TextAppend(out, FIELD_CAPACITY, L"\\");
    }
    TextAppend(out, FIELD_CAPACITY, name);
    return 0;
}
