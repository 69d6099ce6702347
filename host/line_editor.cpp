/*
** The line editor of the stand-in shell: printable characters, Backspace,
** Delete, Left, Right, Home, End, Esc (clear), Ctrl-C (cancel) and Enter.
*/
#include "line_editor.h"

#include <vector>

namespace {

enum {
    KEY_BACKSPACE = 0x08,
    KEY_ENTER = 0x0D,
    KEY_ESCAPE = 0x1B,
    KEY_CTRL_C = 0x03,
    KEY_CTRL_Z = 0x1A,
    KEY_HOME = 0x10047,
    KEY_LEFT = 0x1004B,
    KEY_RIGHT = 0x1004D,
    KEY_END = 0x1004F,
    KEY_DELETE = 0x10053
};

void Write(const std::wstring &text)
{
    DWORD written;
    WriteConsoleW(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), (DWORD)text.size(), &written, nullptr);
}

/* Shows the prompt and the line, blanks what is left of a longer line shown
** before, and puts the cursor in its place. */
void Redraw(const std::wstring &prompt, const std::wstring &line, size_t cursor, size_t *shown)
{
    std::wstring text = L"\r" + prompt + line;
    if (*shown > line.size()) text.append(*shown - line.size(), L' ');
    text += L"\r" + prompt + line.substr(0, cursor);
    *shown = line.size();
    Write(text);
}

}  // namespace

bool DeliverKeystroke(KeystrokeHandler handler, const HostKeystroke &keystroke,
                      const std::wstring &line, size_t cursor)
{
    if (handler == nullptr) return false;
    std::vector<wchar_t> name(keystroke.name.begin(), keystroke.name.end());
    name.push_back(0);
    KeystrokeRecord record = {};
    record.keyCode = keystroke.code;
    record.line = line.c_str();
    record.cursor = line.c_str() + (cursor < line.size() ? cursor : line.size());
    record.keyName = keystroke.name.empty() ? nullptr : name.data();
    handler(&record);
    return keystroke.name.empty() ? record.keyCode == 0 : name[0] == 0;
}

bool EditLine(const std::wstring &prompt, KeystrokeHandler handler, bool keyNames, std::wstring *line)
{
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD oldMode = 0;
    GetConsoleMode(input, &oldMode);
    SetConsoleMode(input, ENABLE_EXTENDED_FLAGS);

    size_t cursor = 0, shown = 0;
    bool ended = false, gotLine = false;
    static int failedReads = 0;
    line->clear();
    Redraw(prompt, *line, cursor, &shown);
    while (!ended) {
        INPUT_RECORD event;
        DWORD got = 0;
        if (!ReadConsoleInputW(input, &event, 1, &got) || got == 0) {
            /* A read that ends with no input on a console that is still
            ** there was ended by Ctrl-C (Wine 10 ends it so, with neither
            ** the keystroke nor a call of the signal's handler): the line
            ** is cancelled, as Ctrl-C cancels it; a few times in a row at
            ** most, so that a console that fails every read ends the shell. */
            DWORD pending = 0;
            if (++failedReads <= 3 && GetNumberOfConsoleInputEvents(input, &pending)) {
                Write(L"^C");
                line->clear();
                gotLine = true;
            }
            break;
        }
        failedReads = 0;
        HostKeystroke keystroke;
        if (event.EventType != KEY_EVENT || !TranslateKeyEvent(event.Event.KeyEvent, keyNames, &keystroke)) {
            continue;
        }
        for (WORD repeat = 0; repeat < event.Event.KeyEvent.wRepeatCount && !ended; repeat++) {
            if (DeliverKeystroke(handler, keystroke, *line, cursor)) continue;
            int code = keystroke.code;
            if (!keystroke.name.empty()) {
                /* Named keystrokes the editor knows are the Enter variants. */
                size_t size = keystroke.name.size();
                code = size >= 5 && keystroke.name.compare(size - 5, 5, L"Enter") == 0 ? KEY_ENTER : 0;
            }
            switch (code) {
            case KEY_ENTER:
                ended = gotLine = true;
                break;
            case KEY_CTRL_C:
                Write(L"^C");
                line->clear();
                ended = gotLine = true;
                break;
            case KEY_CTRL_Z:
                if (line->empty()) ended = true;
                break;
            case KEY_ESCAPE:
                line->clear();
                cursor = 0;
                break;
            case KEY_BACKSPACE:
                if (cursor > 0) line->erase(--cursor, 1);
                break;
            case KEY_DELETE:
                if (cursor < line->size()) line->erase(cursor, 1);
                break;
            case KEY_LEFT:
                if (cursor > 0) cursor--;
                break;
            case KEY_RIGHT:
                if (cursor < line->size()) cursor++;
                break;
            case KEY_HOME:
                cursor = 0;
                break;
            case KEY_END:
                cursor = line->size();
                break;
            default:
                if (code >= 0x20 && code < 0x10000 && code != 0x7F) line->insert(cursor++, 1, (wchar_t)code);
                break;
            }
        }
        if (!ended) Redraw(prompt, *line, cursor, &shown);
    }
    Write(L"\r\n");
    SetConsoleMode(input, oldMode);
    return gotLine;
}
