// Starts Wine's background processes (services and the desktop window's
// process) before the stand-in shell or the tests run, with its own output
// sent to /dev/null by its caller: otherwise they inherit the output of the
// first program that needs them and hold it open after that program ends.
// Fails when no window can be created (no display).
#include <windows.h>

int main()
{
    HWND window = CreateWindowW(L"STATIC", L"warm-up", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                nullptr, nullptr);
    if (window == nullptr) return 1;
    DestroyWindow(window);
    return 0;
}
