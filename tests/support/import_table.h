// Finding and rewriting the slots of a module's import table, for seeing or
// replacing the platform calls that code in that module makes: the tests
// substitute calls Wine cannot fail, the fault injection fails every call
// of the DLL, the benchmark counts them.
#ifndef TIRVALO_TESTS_IMPORT_TABLE_H
#define TIRVALO_TESTS_IMPORT_TABLE_H

#include <windows.h>

// Calls visit(dll, function, slot) for each import of module, with a null
// function for one imported by ordinal, until visit gives false.  A DLL's
// imports without their list of names cannot be told apart: passed over.
template <typename Visit> void ForEachImport(HMODULE module, Visit visit)
{
    BYTE *base = (BYTE *)module;
    if (base == nullptr) return;
    auto *nt = (IMAGE_NT_HEADERS *)(base + ((IMAGE_DOS_HEADER *)base)->e_lfanew);
    DWORD directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    if (directory == 0) return;
    for (auto *import = (IMAGE_IMPORT_DESCRIPTOR *)(base + directory); import->Name != 0; import++) {
        if (import->OriginalFirstThunk == 0) continue;
        auto *names = (IMAGE_THUNK_DATA *)(base + import->OriginalFirstThunk);
        auto *slots = (IMAGE_THUNK_DATA *)(base + import->FirstThunk);
        for (; names->u1.AddressOfData != 0; names++, slots++) {
            auto *byName = (IMAGE_IMPORT_BY_NAME *)(base + names->u1.AddressOfData);
            const char *function = IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal) ? nullptr : (const char *)byName->Name;
            if (!visit((const char *)(base + import->Name), function, (void **)&slots->u1.Function)) return;
        }
    }
}

// The slot through which module calls function, imported by name from dll
// (compared without regard to case); null when module has no such import.
void **FindImportSlot(HMODULE module, const char *dll, const char *function);

// Writes value into a slot of an import table; gives what it held before.
void *WriteImportSlot(void **slot, void *value);

// Points this program's import of function (from dll) at replacement, and
// gives what it pointed at before; null when there is no such import.  For
// seeing or failing calls of the plug-in's code that Wine cannot fail.
void *ReplaceImport(const char *dll, const char *function, void *replacement);

#endif
