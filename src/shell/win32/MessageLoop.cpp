#include "shell/win32/MessageLoop.h"

#include "shell/win32/ControlIds.h"

#include <windows.h>

namespace zir::win32 {

namespace {

// Tab and the dialog keys for the controls of TForm1 and TForm2, as a dialog box has them.
bool IsNavigationMessage(MSG& message) {
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST || message.hwnd == nullptr)
        return false;
    HWND root = GetAncestor(message.hwnd, GA_ROOT);
    if (root == nullptr)
        return false;
    wchar_t className[16] = {};
    GetClassNameW(root, className, 16);
    if (lstrcmpW(className, kMainWindowClass) != 0 &&
        lstrcmpW(className, kSettingsWindowClass) != 0)
        return false;
    return IsDialogMessageW(root, &message) != FALSE;
}

} // namespace

int RunMessageLoop(const std::function<bool()>& done) {
    MSG message{};
    while (!done || !done()) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == -1)
            return 1;
        if (got == 0) {
            const int code = static_cast<int>(message.wParam);
            if (done)
                PostQuitMessage(code);
            return code;
        }
        if (IsNavigationMessage(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

} // namespace zir::win32
