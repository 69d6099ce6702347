// Finding and rewriting the slots of a module's import table, for seeing or
// replacing the platform calls that code in that module makes: the tests
// substitute calls Wine cannot fail, the benchmark counts them.
#ifndef TIRVALO_TESTS_IMPORT_TABLE_H
#define TIRVALO_TESTS_IMPORT_TABLE_H

#include <windows.h>

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
