// The information window: its template as compiled, the fields it fills
// from a record, how it ends, and the system settings around bringing it
// to the front.
#include <windows.h>

#include <string>
#include <vector>

#include "dialog/info_dialog.h"
#include "fileinfo/filetype.h"
#include "tests/support/fileinfo_fixture.h"
#include "host/window_dump.h"

namespace {

using InfoDialogTest = FileInfoTest;

TEST_F(InfoDialogTest, TemplateIsTheExtendedTemplateOfTheTable)
{
    HRSRC found = FindResourceExW((HMODULE)g_instance, (LPCWSTR)RT_DIALOG, MAKEINTRESOURCEW(101),
                                  MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    ASSERT_NE(nullptr, found);
    const WORD *p = (const WORD *)LockResource(LoadResource((HMODULE)g_instance, found));
    auto dword = [&p]() { DWORD v = p[0] | (DWORD)p[1] << 16; p += 2; return v; };
    auto text = [&p]() { std::wstring t((const wchar_t *)p); p += t.size() + 1; return t; };
    auto align = [&p]() { if ((UINT_PTR)p & 2) p++; };

    EXPECT_EQ(1, p[0]);                 // version
    EXPECT_EQ(0xFFFF, p[1]);            // extended template
    p += 2;
    EXPECT_EQ(0u, dword());             // help id
    EXPECT_EQ(0u, dword());             // extended style
    EXPECT_EQ(0x80C800C8u, dword());
    const WORD count = *p++;
    ASSERT_EQ(25, count);
    EXPECT_EQ((std::vector<WORD>{0, 0, 285, 286, 0, 0}), std::vector<WORD>(p, p + 6));  // no menu, no class
    p += 6;
    EXPECT_EQ(L"Dialog", text());
    EXPECT_EQ((std::vector<WORD>{8, 400, 0x100}), std::vector<WORD>(p, p + 3));  // italic 0, charset 1
    p += 3;
    EXPECT_EQ(L"MS Shell Dlg", text());

    const struct { DWORD id; WORD atom; const wchar_t *text; DWORD style; short x, y, w, h; } items[] = {
        {1, 0x80, L"OK", 0x50010001, 228, 265, 50, 14},
        {1001, 0x82, L"Full Name:", 0x50020000, 7, 7, 66, 28},
        {1002, 0x82, L"MS-DOS name:", 0x50020000, 7, 40, 66, 14},
        {1003, 0x82, L"Description:", 0x50020000, 7, 59, 66, 14},
        {1004, 0x82, L"File version:", 0x50020000, 7, 78, 66, 14},
        {1005, 0x82, L"Size:", 0x50020000, 7, 97, 66, 14},
        {1006, 0x82, L"Attributes:", 0x50020000, 7, 116, 66, 14},
        {1007, 0x82, L"Created:", 0x50020000, 7, 135, 66, 14},
        {1008, 0x82, L"Modified:", 0x50020000, 7, 154, 66, 14},
        {1009, 0x82, L"Accessed:", 0x50020000, 7, 173, 66, 14},
        {1010, 0x82, L"Owner:", 0x50020000, 7, 192, 66, 14},
        {1011, 0x82, L"File type:", 0x50020000, 7, 211, 66, 14},
        {1012, 0x82, L"Opens with:", 0x50020000, 7, 230, 66, 14},
        {1025, 0x81, L"", 0x50010844, 77, 7, 201, 28},
        {1026, 0x81, L"", 0x50010880, 77, 40, 201, 14},
        {1027, 0x81, L"", 0x50010880, 78, 59, 200, 14},
        {1028, 0x81, L"", 0x50010880, 78, 78, 200, 14},
        {1029, 0x81, L"", 0x50010880, 78, 97, 200, 14},
        {1030, 0x81, L"", 0x50010880, 78, 116, 200, 14},
        {1031, 0x81, L"", 0x50010880, 78, 135, 200, 14},
        {1032, 0x81, L"", 0x50010880, 77, 154, 201, 14},
        {1033, 0x81, L"", 0x50010880, 77, 173, 201, 14},
        {1034, 0x81, L"", 0x50010880, 77, 192, 201, 14},
        {1035, 0x81, L"", 0x50010880, 77, 211, 201, 14},
        {1036, 0x81, L"", 0x50010844, 77, 230, 201, 28},
    };
    for (const auto &item : items) {
        align();
        EXPECT_EQ(0u, dword());         // help id
        EXPECT_EQ(0u, dword());         // extended style
        EXPECT_EQ(item.style, dword()) << item.id;
        EXPECT_EQ((std::vector<short>{item.x, item.y, item.w, item.h}),
                  std::vector<short>((const short *)p, (const short *)p + 4)) << item.id;
        p += 4;
        EXPECT_EQ(item.id, dword());
        EXPECT_EQ(0xFFFF, p[0]);
        EXPECT_EQ(item.atom, p[1]) << item.id;
        p += 2;
        EXPECT_EQ(item.text, text()) << item.id;
        EXPECT_EQ(0, *p++);             // no creation data
    }
}

// A record with a distinct text in every field.
FileInfoRecord SampleRecord()
{
    FileInfoRecord record = {};
    record.title = L"NOTES.TXT \u2014 Tirvalo 1.4.0";
    record.fullName = L"C:\\Data\\notes.txt";
    record.namePart = L"NOTES.TXT";
    record.shortName = L"";
    record.description = L"My notes";
    record.sizeOrContents = L"1,536 bytes  (1.50 KB)";
    record.attributesText = L"Archive ";
    record.created = L"created";
    record.modified = L"modified";
    record.accessed = L"accessed";
    record.owner = L"";
    record.fileType = L"txtfile  (Text Document)";
    record.opensWith = L"\u2014";
    return record;
}

INT_PTR Show(FileInfoRecord *record)
{
    return DialogBoxParamW((HINSTANCE)g_instance, MAKEINTRESOURCEW(IDD_FILE_INFO), nullptr,
                           InfoDialogProc, (LPARAM)record);
}

TEST_F(InfoDialogTest, FieldsAndLabelsComeFromTheRecord)
{
    WindowWatch watch;
    FileInfoRecord record = SampleRecord();
    record.versionRevision = 1;
    record.fileTypeSource = SourceClassesRoot;
    EXPECT_EQ(IDOK, Show(&record));
    ASSERT_EQ(1u, watch.Windows().size());
    EXPECT_EQ(L"NOTES.TXT \u2014 Tirvalo 1.4.0\r\n"
              L"Full Name: C:\\Data\\notes.txt\r\n"
              L"MS-DOS name: \r\n"
              L"Description: My notes\r\n"
              L"File version: 0.0.0.1\r\n"
              L"Size: 1,536 bytes  (1.50 KB)\r\n"
              L"Attributes: Archive \r\n"
              L"Created: created\r\n"
              L"Modified: modified\r\n"
              L"Accessed: accessed\r\n"
              L"Owner: \r\n"
              L"File type: txtfile  (Text Document)\r\n"
              L"Opens with: \u2014\r\n",
              watch.Windows()[0].Dump());
}

TEST_F(InfoDialogTest, RelabellingForFoldersAndPerUserTypesAndNoVersion)
{
    const struct { unsigned attributes, source; const wchar_t *sizeLabel, *typeLabel; } cases[] = {
        {0x10, SourceDirectory, L"Contains:", L"File type:"},
        {0x20, SourceUserClasses, L"Size:", L"User file type:"},
        {0x20, SourceNone, L"Size:", L"File type:"},
        {0x30, SourceClassesRoot, L"Contains:", L"File type:"},
    };
    for (const auto &c : cases) {
        WindowWatch watch;
        FileInfoRecord record = SampleRecord();
        record.attributes = c.attributes;
        record.fileTypeSource = c.source;
        Show(&record);
        ASSERT_EQ(1u, watch.Windows().size());
        EXPECT_EQ(c.sizeLabel, watch.Windows()[0].Text(IDC_LABEL_SIZE));
        EXPECT_EQ(c.typeLabel, watch.Windows()[0].Text(IDC_LABEL_FILE_TYPE));
        EXPECT_EQ(L"", watch.Windows()[0].Text(IDC_FIELD_VERSION));   // 0.0.0.0: none
    }
}

TEST_F(InfoDialogTest, OkAndEnterGiveOneEscapeAndCloseGiveTwo)
{
    const struct { UINT message; WPARAM wParam; INT_PTR result; } cases[] = {
        {WM_COMMAND, IDOK, 1},          {WM_KEYDOWN, VK_RETURN, 1}, {WM_KEYDOWN, VK_ESCAPE, 2},
        {WM_SYSCOMMAND, SC_CLOSE, 2},   {WM_CLOSE, 0, 2},
    };
    for (const auto &c : cases) {
        WindowWatchOptions options;
        options.closeMessage = c.message;
        options.closeWParam = c.wParam;
        WindowWatch watch(options);
        FileInfoRecord record = SampleRecord();
        EXPECT_EQ(c.result, Show(&record)) << c.message << " " << c.wParam;
    }
}

}  // namespace
