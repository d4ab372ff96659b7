// zir-test-window ACTION...: does to the running zir's windows what a person would, for the
// screenshot script: "show" (a left click on the tray icon), "menu" (a right click on it, the
// menu opens at the cursor), "settings" (the menu's "设置"), "tab N" (a click on the main window's
// Nth tab), "click ID" (a button of the main window), "wait MS". Exit status 0 when done.

#include "ChildControl.h"
#include "shell/win32/ControlIds.h"

#include <cwchar>
#include <windows.h>

namespace {

using namespace zir::win32;

HWND MainWindow() {
    for (int i = 0; i < 200; ++i) {
        if (HWND window = FindWindowW(kMainWindowClass, nullptr))
            return window;
        Sleep(50);
    }
    return nullptr;
}

// The page control finds the tab under a click itself and tells its window in its own process;
// the tabs sit side by side at the top, each wider than 60 pixels at 96 DPI.
bool ClickTab(HWND main, int index) {
    HWND pages = GetDlgItem(main, IDC_pages);
    if (pages == nullptr)
        return false;
    const LPARAM point = MAKELPARAM(30 + 70 * index, 10);
    PostMessageW(pages, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(pages, WM_LBUTTONUP, 0, point);
    return true;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    HWND main = MainWindow();
    if (main == nullptr)
        return 1;
    for (int i = 1; i < argc; ++i) {
        const wchar_t* action = argv[i];
        const wchar_t* value = i + 1 < argc ? argv[i + 1] : L"0";
        if (std::wcscmp(action, L"show") == 0) {
            PostMessageW(main, kTrayIconMessage, kTrayIconId, WM_LBUTTONDOWN);
        } else if (std::wcscmp(action, L"menu") == 0) {
            PostMessageW(main, kTrayIconMessage, kTrayIconId, WM_RBUTTONDOWN);
        } else if (std::wcscmp(action, L"settings") == 0) {
            PostMessageW(main, WM_COMMAND, IDM_N2, 0);
        } else if (std::wcscmp(action, L"tab") == 0) {
            if (!ClickTab(main, _wtoi(value)))
                return 1;
            ++i;
        } else if (std::wcscmp(action, L"click") == 0) {
            HWND button = zir::test::ChildControl(main, _wtoi(value));
            if (button == nullptr)
                return 1;
            PostMessageW(button, BM_CLICK, 0, 0);
            ++i;
        } else if (std::wcscmp(action, L"wait") == 0) {
            Sleep(static_cast<DWORD>(_wtoi(value)));
            ++i;
        } else {
            return 2;
        }
    }
    return 0;
}
