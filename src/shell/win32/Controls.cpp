#include "shell/win32/Controls.h"

#include "platform/Text.h"

namespace zir::win32 {

HWND CreateControl(HWND parent, const wchar_t* className, const std::string& text, DWORD style,
                   int id, DWORD exStyle) {
    const std::wstring wide = platform::Utf8ToWide(text);
    return CreateWindowExW(exStyle, className, wide.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0,
                           0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

void MoveControl(HWND control, const shell::TBounds& bounds) {
    SetWindowPos(control, nullptr, bounds.Left, bounds.Top, bounds.Width, bounds.Height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string ControlText(HWND control) {
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(control, text.data(), length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return platform::WideToUtf8(text);
}

void SetControlText(HWND control, const std::string& text) {
    SetWindowTextW(control, platform::Utf8ToWide(text).c_str());
}

bool IsChecked(HWND checkBox) {
    return SendMessageW(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetChecked(HWND checkBox, bool checked) {
    SendMessageW(checkBox, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

HFONT CreateFormFont(int dpi) {
    const std::wstring face = platform::Utf8ToWide(shell::kFormFontFace);
    return CreateFontW(shell::ScaleForDpi(shell::kFormFontHeight, dpi), 0, 0, 0, FW_NORMAL, FALSE,
                       FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str());
}

namespace {

BOOL CALLBACK SetFontOfChild(HWND child, LPARAM font) {
    SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
    return TRUE;
}

} // namespace

void SetFontOfTree(HWND window, HFONT font) {
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    // EnumChildWindows reaches the controls inside the pages and the panel too.
    EnumChildWindows(window, SetFontOfChild, reinterpret_cast<LPARAM>(font));
    InvalidateRect(window, nullptr, TRUE);
}

int TextWidth(HWND control) {
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(control, text.data(), length + 1);
    HDC dc = GetDC(control);
    if (dc == nullptr)
        return 0;
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), got > 0 ? got : 0, &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size.cx;
}

shell::TExtent ClientExtent(HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

} // namespace zir::win32
