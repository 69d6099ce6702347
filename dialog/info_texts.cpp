/*
** The information window's texts, made once from the record it is handed.
** The window is filled from them, and its copy and its text form are both
** the one text EmitInfoText hands out, so that what is copied, what is
** written where no window can be seen and what the window shows are the
** same texts.
*/
#include "frame/host_api.h"
#include "info_dialog.h"

/* The labels as the template has them, in its order. */
const wchar_t *const TemplateLabels[INFO_LINES] = {
    L"" TEXT_FULL_NAME, L"" TEXT_SHORT_NAME, L"" TEXT_DESCRIPTION, L"" TEXT_VERSION,
    L"" TEXT_SIZE,      L"" TEXT_ATTRIBUTES, L"" TEXT_CREATED,     L"" TEXT_MODIFIED,
    L"" TEXT_ACCESSED,  L"" TEXT_OWNER,      L"" TEXT_FILE_TYPE,   L"" TEXT_OPENS_WITH,
};

void MakeInfoTexts(const FileInfoRecord *record, InfoTexts *texts)
{
    int line;

    texts->caption = record->title;
    for (line = 0; line < INFO_LINES; line++) texts->labels[line] = TemplateLabels[line];
    texts->fields[INFO_LINE_FULL_NAME] = record->fullName;
    texts->fields[INFO_LINE_SHORT_NAME] = record->shortName;
    texts->fields[INFO_LINE_DESCRIPTION] = record->description;
    texts->fields[INFO_LINE_SIZE] = record->sizeOrContents;
    texts->fields[INFO_LINE_ATTRIBUTES] = record->attributesText;
    texts->fields[INFO_LINE_CREATED] = record->created;
    texts->fields[INFO_LINE_MODIFIED] = record->modified;
    texts->fields[INFO_LINE_ACCESSED] = record->accessed;
    texts->fields[INFO_LINE_OWNER] = record->owner;
    texts->fields[INFO_LINE_FILE_TYPE] = record->fileType;
    texts->fields[INFO_LINE_OPENS_WITH] = record->opensWith;

    /* A version of all zeros is no version: the field stays empty. */
    texts->version[0] = 0;
    texts->fields[INFO_LINE_VERSION] = 0;
    if (record->versionMajor != 0 || record->versionMinor != 0 || record->versionBuild != 0 ||
        record->versionRevision != 0) {
        wsprintfW(texts->version, L"%u.%u.%u.%u", record->versionMajor, record->versionMinor,
                  record->versionBuild, record->versionRevision);
        texts->fields[INFO_LINE_VERSION] = texts->version;
    }

    if (record->attributes & INFO_DIRECTORY_BIT) texts->labels[INFO_LINE_SIZE] = L"" TEXT_CONTAINS;
    if (record->fileTypeSource == SourceUserClasses) {
        texts->labels[INFO_LINE_FILE_TYPE] = L"" TEXT_USER_FILE_TYPE;
    }
}

void EmitInfoText(const InfoTexts *texts, InfoTextSink sink, void *context)
{
    int line;

    sink(context, texts->caption != 0 ? texts->caption : L"");
    sink(context, L"\r\n");
    for (line = 0; line < INFO_LINES; line++) {
        sink(context, texts->labels[line]);
        sink(context, L"\t");
        sink(context, texts->fields[line] != 0 ? texts->fields[line] : L"");
        sink(context, L"\r\n");
    }
}

static void WritePiece(void *context, const wchar_t *piece)
{
    (void)context;
    QPuts(piece);
}

void WriteInfoText(const FileInfoRecord *record, const wchar_t *lead)
{
    InfoTexts texts;

    MakeInfoTexts(record, &texts);
    if (lead != 0) QPuts(lead);
    EmitInfoText(&texts, WritePiece, 0);
}
