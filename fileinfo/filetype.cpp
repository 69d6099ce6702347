/*
** File types from the registry.  The class named by the extension comes from
** the per-user class table first and HKEY_CLASSES_ROOT second; the class's
** friendly name and open command come from the per-user classes first and
** the per-machine classes second.
*/
#include <windows.h>

#include "filetype.h"
#include "name_scan.h"
#include "frame/text.h"

enum {
    WORK_CAPACITY = 4096,               /* extension, key path, registry values */
    VALUE_BYTES = WORK_CAPACITY * 2
};

static const wchar_t ClassesKey[] = L"Software\\Classes\\";

/*
** Reads the default value of root\path into value (WORK_CAPACITY units).
** A key or value that is missing or unreadable, a value too large, and one
** that fills the whole buffer without a terminator all leave value empty.
*/
static void ReadDefaultValue(HKEY root, const wchar_t *path, wchar_t *value)
{
    HKEY key;
    DWORD size = VALUE_BYTES;
    LONG status;

    value[0] = 0;
    if (RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    status = RegQueryValueExW(key, 0, 0, 0, (BYTE *)value, &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) {
        value[0] = 0;
        return;
    }
    size /= 2;   /* units */
    if (size > 0 && value[size - 1] == 0) return;
    if (size < WORK_CAPACITY) {
        value[size] = 0;
    } else {
        value[0] = 0;
    }
}

/* Reads the default value of path under the per-user key, or when that
** gives nothing under the per-machine key. */
static void ReadUserThenMachine(const wchar_t *path, wchar_t *value)
{
    ReadDefaultValue(HKEY_CURRENT_USER, path, value);
    if (value[0] == 0) ReadDefaultValue(HKEY_LOCAL_MACHINE, path, value);
}

int GetFileTypeInfo(const wchar_t *path, wchar_t *type, wchar_t *command, FileTypeSource *source,
                    unsigned int entry)
{
    wchar_t extension[WORK_CAPACITY];
    wchar_t keyPath[WORK_CAPACITY];
    wchar_t className[WORK_CAPACITY];
    wchar_t friendlyName[WORK_CAPACITY];
    wchar_t openCommand[WORK_CAPACITY];

    if (path == 0 || type == 0 || command == 0 || source == 0) return FILE_TYPE_REFUSED;
    type[0] = 0;
    command[0] = 0;
    *source = SourceNone;

    if (PathIs(path, entry, PATH_IS_DIRECTORY)) {
        *source = SourceDirectory;
        return 0;
    }
    if (LookupExtension(path, extension, WORK_CAPACITY) != 0) return FILE_TYPE_REFUSED;

    /* The class: per-user first, then the class root. */
    className[0] = 0;
    TextCopy(keyPath, WORK_CAPACITY, ClassesKey);
    if (TextAppend(keyPath, WORK_CAPACITY, extension) == TEXT_OK) {
        ReadDefaultValue(HKEY_CURRENT_USER, keyPath, className);
    }
    if (className[0] != 0) {
        *source = SourceUserClasses;
    } else {
        ReadDefaultValue(HKEY_CLASSES_ROOT, extension, className);
        if (className[0] == 0) return 0;
        *source = SourceClassesRoot;
    }

    /* Its friendly name and open command; a key path that would not fit
    ** finds nothing. */
    friendlyName[0] = 0;
    openCommand[0] = 0;
    TextCopy(keyPath, WORK_CAPACITY, ClassesKey);
    if (TextAppend(keyPath, WORK_CAPACITY, className) == TEXT_OK) {
        ReadUserThenMachine(keyPath, friendlyName);
        if (TextAppend(keyPath, WORK_CAPACITY, L"\\shell\\open\\command") == TEXT_OK) {
            ReadUserThenMachine(keyPath, openCommand);
        }
    }

    if (openCommand[0] == 0) {
        TextCopy(command, FILE_TYPE_CAPACITY, L"\u2014");
    } else if (IsPlaceholderCommand(openCommand)) {
        TextCopy(command, FILE_TYPE_CAPACITY, L"Executable file");
    } else {
        TextCopy(command, FILE_TYPE_CAPACITY, openCommand);
    }

    TextCopy(type, FILE_TYPE_CAPACITY, className);
    if (friendlyName[0] != 0) {
        TextAppend(type, FILE_TYPE_CAPACITY, L"  (");
        TextAppend(type, FILE_TYPE_CAPACITY, friendlyName);
        TextAppend(type, FILE_TYPE_CAPACITY, L")");
    }
    return 0;
}
