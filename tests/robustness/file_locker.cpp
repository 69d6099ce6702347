// Holds a file open without sharing, or the clipboard open, as another
// program may: the tests of a file or clipboard held by another process
// start it.
//   file_locker PATH            opens PATH, writes "locked" on standard
//                               output, and waits until standard input ends.
//   file_locker --clipboard     the same with the clipboard.
//   file_locker --hung-window   the same with a foreground window that never
//                               answers: its thread reads and nothing else.
//   file_locker --window        the same with a window "terminal" that answers.
#include <windows.h>

DWORD WINAPI AnsweringWindow(void *made)
{
    CreateWindowW(L"Static", L"terminal", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 150, 400, 300, nullptr,
                  nullptr, nullptr, nullptr);
    SetEvent(made);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
}

int wmain(int argc, wchar_t **argv)
{
    if (argc != 2) return 2;
    bool clipboard = lstrcmpW(argv[1], L"--clipboard") == 0;
    bool hung = lstrcmpW(argv[1], L"--hung-window") == 0;
    bool answering = lstrcmpW(argv[1], L"--window") == 0;
    if (answering) {
        HANDLE made = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        CloseHandle(CreateThread(nullptr, 0, AnsweringWindow, made, 0, nullptr));
        WaitForSingleObject(made, 10000);
    }
    if (hung) {
        SetForegroundWindow(CreateWindowW(L"Static", L"hung", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                          nullptr, nullptr, nullptr, nullptr));
    }
    HANDLE file = clipboard || hung || answering ? nullptr
                                    : CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                                  OPEN_EXISTING, 0, nullptr);
    // Held by a window: Wine lets any caller without one open a clipboard
    // that was opened without one.
    HWND owner = CreateWindowW(L"Static", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (clipboard ? !OpenClipboard(owner) : file == INVALID_HANDLE_VALUE) return 1;
    DWORD written, read;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), "locked\n", 7, &written, nullptr);
    char byte;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), &byte, 1, &read, nullptr) && read != 0) {
    }
    if (clipboard) CloseClipboard(); else if (file != nullptr) CloseHandle(file);
    return 0;
}
