// Finding and rewriting import-table slots.  See import_table.h.
#include "import_table.h"

void **FindImportSlot(HMODULE module, const char *dll, const char *function)
{
    void **found = nullptr;
    ForEachImport(module, [&](const char *from, const char *name, void **slot) {
        if (name != nullptr && lstrcmpiA(from, dll) == 0 && lstrcmpA(name, function) == 0) found = slot;
        return found == nullptr;
    });
    return found;
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
