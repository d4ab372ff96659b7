#include "shell/win32/FormWindow.h"

#include "platform/Text.h"
#include "shell/win32/Controls.h"
#include "shell/win32/Dpi.h"
#include "shell/win32/ResourceIds.h"
#include "shell/win32/UserMessages.h"

#include <exception>

namespace zir::win32 {

FormWindow::~FormWindow() {
    if (handle_ != nullptr) {
        // Too late for the derived form's handler: the window goes without it.
        SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
        DestroyWindow(handle_);
    }
    if (font_ != nullptr)
        DeleteObject(font_);
}

bool FormWindow::RegisterFormClass(HINSTANCE instance, const wchar_t* className) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = className;
    windowClass.hIcon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDI_ZIR), IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                   GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
    windowClass.hIconSm = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDI_ZIR), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                   GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool FormWindow::CreateForm(const wchar_t* className, const std::string& caption, DWORD style,
                            DWORD exStyle, HWND owner, shell::TExtent client, int left, int top) {
    style_ = style;
    exStyle_ = exStyle;
    const SIZE size = WindowSizeForClient({client.Width, client.Height}, style, exStyle, 96);
    const std::wstring text = platform::Utf8ToWide(caption);
    CreateWindowExW(exStyle, className, text.c_str(), style, left, top, size.cx, size.cy, owner,
                    nullptr, GetModuleHandleW(nullptr), this);
    return handle_ != nullptr;
}

void FormWindow::PlaceOnScreen(shell::TExtent designClient, int left, int top) {
    const shell::TExtent client = shell::ScaleForDpi(designClient, dpi_);
    const SIZE size = WindowSizeForClient({client.Width, client.Height}, style_, exStyle_, dpi_);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromPoint({left, top}, MONITOR_DEFAULTTONEAREST), &monitor);
    const shell::TBounds place = shell::KeepInWorkArea(
        left, top, {size.cx, size.cy},
        {monitor.rcWork.left, monitor.rcWork.top, monitor.rcWork.right, monitor.rcWork.bottom});
    SetWindowPos(handle_, nullptr, place.Left, place.Top, place.Width, place.Height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::ApplyDpi(int dpi) {
    dpi_ = dpi;
    HFONT font = CreateFormFont(dpi_);
    SetFontOfTree(handle_, font);
    if (font_ != nullptr)
        DeleteObject(font_);
    font_ = font;
}

void FormWindow::FollowDpiChange(WPARAM wParam, LPARAM lParam) {
    const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
    ApplyDpi(HIWORD(wParam));
    SetWindowPos(handle_, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    LayoutControls();
}

void FormWindow::FocusControl(HWND control) {
    focus_ = control;
    SetFocus(control);
}

bool FormWindow::KeepFocusAcrossActivation(WPARAM wParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(handle_, focus))
            focus_ = focus;
        return false;
    }
    if (HIWORD(wParam) != 0 || focus_ == nullptr || !IsWindow(focus_) || !IsChild(handle_, focus_))
        return false; // minimised, or no control yet: the form itself takes the focus
    SetFocus(focus_);
    return true;
}

LRESULT CALLBACK FormWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    FormWindow* form;
    if (message == WM_NCCREATE) {
        form = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->handle_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    } else {
        form = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    }
    if (form == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_ACTIVATE && form->KeepFocusAcrossActivation(wParam))
        return 0;
    LRESULT result = 0;
    // No C++ exception may pass through user32's frames: it ends here, reported as the
    // application reports any error nothing else caught, and the program goes on.
    try {
        result = form->HandleMessage(message, wParam, lParam);
    } catch (const std::exception& e) {
        ReportUnexpectedError(e.what());
    } catch (...) {
        ReportUnexpectedError("");
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        form->handle_ = nullptr;
        form->WindowGone();
    }
    return result;
}

} // namespace zir::win32
