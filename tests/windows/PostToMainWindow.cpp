// zir-test-post MESSAGE: posts one of the registered messages that zir's main window answers
// (zir.Quit, zir.SettingsChanged), as another program on the desktop would. The tests on Linux
// use it where they would signal the console program. Exit status 0 when posted.

#include "shell/win32/ControlIds.h"

#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    if (argc != 2)
        return 2;
    // The program may still be starting: its window appears after the settings are loaded.
    HWND window = nullptr;
    for (int i = 0; i < 200 && window == nullptr; ++i) {
        window = FindWindowW(zir::win32::kMainWindowClass, nullptr);
        if (window == nullptr)
            Sleep(50);
    }
    if (window == nullptr)
        return 1;
    const UINT message = RegisterWindowMessageW(argv[1]);
    return message != 0 && PostMessageW(window, message, 0, 0) ? 0 : 1;
}
