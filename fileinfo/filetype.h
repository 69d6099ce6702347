/*
** The file type of a file and the command that opens it, from the
** registry's file-type classes.
*/
#ifndef TIRVALO_FILETYPE_H
#define TIRVALO_FILETYPE_H

#include "dialog/info_record.h"   /* FileTypeSource */
#include "host_questions.h"

enum { FILE_TYPE_CAPACITY = 32768 };   /* the type text and the command text */

/*
** Fills type ("class  (friendly name)"), command (the open command,
** "Executable file" when it runs the file itself, or "—" when the class has
** none) and source for the file at path.  Whenever all four arguments are
** present, both texts start empty and source at SourceNone.  0 done (also a
** directory, and an extension without a class); FILE_TYPE_REFUSED for a null
** argument or a name without a usable extension.  entry is the attribute
** bits of the path's entry, when known (host_questions.h).
*/
int GetFileTypeInfo(const wchar_t *path, wchar_t *type, wchar_t *command, FileTypeSource *source,
                    unsigned int entry = ENTRY_UNKNOWN);

enum { FILE_TYPE_REFUSED = -1 };

#endif /* TIRVALO_FILETYPE_H */
