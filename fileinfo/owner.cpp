/*
** The owner of a file or directory, from its security descriptor.
*/
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include "fileinfo.h"
#include "formatters.h"
#include "name_scan.h"
#include "frame/text.h"

enum { ACCOUNT_CAPACITY = 1024 };

/* The text form of sid into name (ACCOUNT_CAPACITY units); left empty
** when it cannot be made or does not fit. */
static void CopySidText(PSID sid, wchar_t *name)
{
    wchar_t *text = 0;
    if (!ConvertSidToStringSidW(sid, &text)) return;
    if (TextCopy(name, ACCOUNT_CAPACITY, text) != TEXT_OK) name[0] = 0;
    LocalFree(text);
}

int GetOwnerName(wchar_t *out, const wchar_t *path)
{
    wchar_t room[PATH_CAPACITY];
    wchar_t name[ACCOUNT_CAPACITY];
    wchar_t domain[ACCOUNT_CAPACITY];
    DWORD nameSize = ACCOUNT_CAPACITY, domainSize = ACCOUNT_CAPACITY;
    SID_NAME_USE use;
    PSID owner = 0;
    PSECURITY_DESCRIPTOR descriptor = 0;
    HANDLE file;
    DWORD status;

    if (path == 0 || path[0] == 0) return OWNER_NO_PATH;
    /* The owner needs the right to read the security descriptor alone, not
    ** the data: a file whose data the user may not read still shows its
    ** owner.  Every kind of sharing: a file another program has open for
    ** writing opens too, and nobody is kept from writing, renaming or
    ** deleting it meanwhile.  Backup semantics let directories open too.  A
    ** file of a cloud-files provider that is not on the disk stays where it
    ** is: the open itself fetches nothing.  A link is opened itself, not
    ** what it leads to: the window shows the link's own entry, and a link
    ** to a server that does not answer would hold the shell. */
    file = CreateFileW(FileSystemPath(path, room, PATH_CAPACITY), READ_CONTROL,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_NO_RECALL | FILE_FLAG_OPEN_REPARSE_POINT,
                       0);
    if (file == 0 || file == INVALID_HANDLE_VALUE) return OWNER_NOT_OPENED;
    status = GetSecurityInfo(file, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, 0, 0, 0,
                             &descriptor);
    /* The descriptor, and the owner in it, stay ours until freed.  The file
    ** is closed before the account is looked up, which for a domain account
    ** may wait many seconds for a domain controller. */
    CloseHandle(file);

    name[0] = 0;
    domain[0] = 0;
    if (status == ERROR_SUCCESS && descriptor != 0) {
        if (owner != 0 && !LookupAccountSidW(0, owner, name, &nameSize, domain, &domainSize, &use)) {
            /* A failed lookup may have left part of a name behind.  An
            ** owner that is no account here (a disk from another computer,
            ** a deleted account) is shown as its identifier, "S-1-5-21-...",
            ** as the system's own tools show it. */
            name[0] = 0;
            if (GetLastError() == ERROR_NONE_MAPPED) CopySidText(owner, name);
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
