// Finding and rewriting import-table slots.  See import_table.h.
#include "import_table.h"

void **FindImportSlot(HMODULE module, const char *dll, const char *function)
{
    BYTE *base = (BYTE *)module;
    if (base == nullptr) return nullptr;
    auto *nt = (IMAGE_NT_HEADERS *)(base + ((IMAGE_DOS_HEADER *)base)->e_lfanew);
    DWORD directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    if (directory == 0) return nullptr;
    for (auto *import = (IMAGE_IMPORT_DESCRIPTOR *)(base + directory); import->Name != 0; import++) {
        // Without the list of names the slots cannot be told apart.
        if (import->OriginalFirstThunk == 0) continue;
        if (lstrcmpiA((const char *)(base + import->Name), dll) != 0) continue;
        auto *names = (IMAGE_THUNK_DATA *)(base + import->OriginalFirstThunk);
        auto *slots = (IMAGE_THUNK_DATA *)(base + import->FirstThunk);
        for (; names->u1.AddressOfData != 0; names++, slots++) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto *byName = (IMAGE_IMPORT_BY_NAME *)(base + names->u1.AddressOfData);
            if (lstrcmpA((const char *)byName->Name, function) == 0) return (void **)&slots->u1.Function;
        }
    }
    return nullptr;
}

void *WriteImportSlot(void **slot, void *value)
{
    DWORD protection;
    void *old = *slot;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
    *slot = value;
    VirtualProtect(slot, sizeof *slot, protection, &protection);
    return old;
}

void *ReplaceImport(const char *dll, const char *function, void *replacement)
{
    void **slot = FindImportSlot(GetModuleHandleW(nullptr), dll, function);
    return slot != nullptr ? WriteImportSlot(slot, replacement) : nullptr;
}
