// The information window: its template as compiled, the fields it fills
// from a record, how it ends, the copy of its texts, and the system
// settings around bringing it to the front.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "dialog/info_dialog.h"
#include "fileinfo/filetype.h"
#include "tests/support/fileinfo_fixture.h"
#include "host/window_dump.h"
#include "tests/support/press_keys.h"
#include "tests/support/locked_file.h"

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
    return DialogBoxParamW(g_instance, MAKEINTRESOURCEW(IDD_FILE_INFO), nullptr,
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

// A screen reader names a field after the window just before it: each field
// follows its own label, and the tab order still runs from OK through the
// fields in the template's order.
TEST_F(InfoDialogTest, EachFieldFollowsItsLabelAndTheTabOrderStays)
{
    FileInfoRecord record = SampleRecord();
    HWND window = CreateDialogParamW(g_instance, MAKEINTRESOURCEW(IDD_FILE_INFO), nullptr, InfoDialogProc,
                                     (LPARAM)&record);
    ASSERT_NE(nullptr, window);
    std::vector<int> expected = {IDOK}, tabOrder;
    for (int line = 0; line < 12; line++) {
        HWND field = GetDlgItem(window, IDC_FIELD_FULL_NAME + line);
        EXPECT_EQ(GetDlgItem(window, IDC_LABEL_FULL_NAME + line), GetWindow(field, GW_HWNDPREV)) << line;
        expected.push_back(IDC_FIELD_FULL_NAME + line);
    }
    HWND control = GetDlgItem(window, IDOK);
    do {
        tabOrder.push_back(GetDlgCtrlID(control));
        control = GetNextDlgTabItem(window, control, FALSE);
    } while (control != GetDlgItem(window, IDOK) && tabOrder.size() < 30);
    EXPECT_EQ(expected, tabOrder);
    DestroyWindow(window);
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

// The message filters the window installs and removes, and those it
// installs for another thread or for every thread.
typedef HHOOK(WINAPI *SetHookFunction)(int, HOOKPROC, HINSTANCE, DWORD);
typedef BOOL(WINAPI *UnhookFunction)(HHOOK);
SetHookFunction RealSetHook;
UnhookFunction RealUnhook;
HHOOK LastFilter;
int LiveFilters = 0, WideFilters = 0;

HHOOK WINAPI WatchedSetHook(int id, HOOKPROC proc, HINSTANCE module, DWORD thread)
{
    HHOOK hook = RealSetHook(id, proc, module, thread);
    if (id == WH_MSGFILTER) {
        LastFilter = hook, LiveFilters++;
        WideFilters += module != nullptr || thread != GetCurrentThreadId();
    }
    return hook;
}

BOOL WINAPI WatchedUnhook(HHOOK hook)
{
    LiveFilters -= hook == LastFilter;
    return RealUnhook(hook);
}

// What the clipboard should hold: the caption, then each label, a tab and
// its field, as the window shows them.
std::wstring CopyOf(const WindowTexts &window)
{
    std::wstring text = window.caption + L"\r\n";
    for (int i = 0; i < 12; i++) {
        text += window.Text(IDC_LABEL_FULL_NAME + i) + L"\t" + window.Text(IDC_FIELD_FULL_NAME + i) + L"\r\n";
    }
    return text;
}

// The window's opens of the clipboard (the test's have no owner), counted;
// the first ones refused, as while another program holds it for a moment.
int Refusals = 0, ClipboardOpens = 0;
BOOL(WINAPI *RealOpenClipboard)(HWND) = nullptr;
BOOL WINAPI BusyOpenClipboard(HWND owner)
{
    ClipboardOpens += owner != nullptr;
    if (owner == nullptr || Refusals-- <= 0) return RealOpenClipboard(owner);
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

TEST_F(InfoDialogTest, CtrlCAndCtrlInsertCopyTheTextsAndEnterStillCloses)
{
    std::wstring longName = L"C:\\";
    while (longName.size() < 32767) longName += L"n ";
    const struct {
        unsigned attributes, source;
        std::vector<WORD> chord;
        int tabs;           // 1: the focus in the Full Name field, which copies its selection itself
        bool held;          // the clipboard held open by another process
        const wchar_t *line;  // a line of the copy; null: no copy
        int refusals;         // the clipboard busy for this many opens first
    } cases[] = {
        {0x20, SourceClassesRoot, {VK_CONTROL, 'C'}, 0, false, L"\r\nSize:\t1,536 bytes  (1.50 KB)\r\n"},
        {0x10, SourceDirectory, {VK_CONTROL, VK_INSERT}, 0, false, L"\r\nContains:\t1,536 bytes  (1.50 KB)\r\n"},
        {0x20, SourceUserClasses, {VK_CONTROL, 'C'}, 1, false, L"\r\nUser file type:\ttxtfile  (Text Document)\r\n"},
        {0x20, SourceClassesRoot, {VK_CONTROL, VK_SHIFT, 'C'}, 0, false, nullptr},
        {0x20, SourceClassesRoot, {VK_CONTROL, 'C'}, 0, true, nullptr},
        {0x20, SourceClassesRoot, {VK_CONTROL, 'C'}, 0, false, L"\r\nAttributes:\tArchive \r\n", 10},
    };
    RealSetHook = (SetHookFunction)ReplaceImport("user32.dll", "SetWindowsHookExW", (void *)WatchedSetHook);
    RealUnhook = (UnhookFunction)ReplaceImport("user32.dll", "UnhookWindowsHookEx", (void *)WatchedUnhook);
    RealOpenClipboard = (BOOL(WINAPI *)(HWND))ReplaceImport("user32.dll", "OpenClipboard", (void *)BusyOpenClipboard);
    ASSERT_TRUE(RealSetHook != nullptr && RealUnhook != nullptr && RealOpenClipboard != nullptr);
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        FileInfoRecord record = SampleRecord();
        record.attributes = c.attributes;
        record.fileTypeSource = c.source;
        record.fullName = c.tabs > 0 ? longName.c_str() : record.fullName;
        PutClipboardText(L"kept");
        KorrashResetBeeps();
        Refusals = c.refusals;
        ClipboardOpens = 0;
        std::optional<LockedFile> holder;
        if (c.held) ASSERT_TRUE(holder.emplace(L"--clipboard").Locked());
        KeysPressed k = ShowAndPress(&record, c.chord, c.tabs);
        holder.reset();
        EXPECT_EQ(IDOK, k.result);
        EXPECT_TRUE(k.openAfter);
        EXPECT_EQ(k.before.Dump(), k.after.Dump());
        EXPECT_EQ(c.tabs > 0 ? IDC_FIELD_FULL_NAME : IDOK, k.focusBefore);
        EXPECT_EQ(k.focusBefore, k.focusAfter);
        EXPECT_EQ(c.held ? 1 : 0, KorrashBeepCount());
        EXPECT_EQ(c.held ? 11 : c.line != nullptr ? c.refusals + 1 : 0, ClipboardOpens);
        std::wstring copy = c.line != nullptr ? CopyOf(k.before) : L"kept";
        EXPECT_EQ(c.held ? L"<held>" : copy, k.clipboard);
        EXPECT_EQ(copy, ClipboardText());   // still there once the window has closed
        if (c.line != nullptr) EXPECT_NE(std::wstring::npos, copy.find(c.line));
        EXPECT_EQ(c.tabs > 0 ? longName : L"C:\\Data\\notes.txt", k.before.Text(IDC_FIELD_FULL_NAME));
        EXPECT_EQ(0, LiveFilters);
        EXPECT_EQ(0, WideFilters);
    }
    ReplaceImport("user32.dll", "SetWindowsHookExW", (void *)RealSetHook);
    ReplaceImport("user32.dll", "UnhookWindowsHookEx", (void *)RealUnhook);
    ReplaceImport("user32.dll", "OpenClipboard", (void *)RealOpenClipboard);
}

}  // namespace
