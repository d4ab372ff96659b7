#include "shell/win32/TrayIcon.h"

#include "platform/Text.h"
#include "shell/win32/ControlIds.h"
#include "shell/win32/ResourceIds.h"

#include <cwchar>
#include <shellapi.h>

namespace zir::win32 {

namespace {

template <size_t N> void CopyText(wchar_t (&field)[N], const std::string& utf8) {
    const std::wstring wide = platform::Utf8ToWide(utf8);
    lstrcpynW(field, wide.c_str(), static_cast<int>(N));
}

int AddFailuresForTests() {
    wchar_t value[16] = {};
    if (GetEnvironmentVariableW(kTrayAddFailuresVariable, value, 16) == 0)
        return 0;
    return static_cast<int>(std::wcstol(value, nullptr, 10));
}

} // namespace

TrayIcon::~TrayIcon() {
    Remove();
    if (icon_ != nullptr)
        DestroyIcon(icon_);
}

bool TrayIcon::Send(DWORD action, NOTIFYICONDATAW data) {
    if (action == NIM_ADD && failuresLeft_ > 0) {
        --failuresLeft_;
        return false;
    }
    return Shell_NotifyIconW(action, &data) != FALSE;
}

bool TrayIcon::Add(HWND window, const std::string& tip) {
    if (icon_ == nullptr)
        icon_ = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_ZIR),
                                              IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                              GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    data_ = NOTIFYICONDATAW{};
    data_.cbSize = sizeof data_;
    data_.hWnd = window;
    data_.uID = kTrayIconId;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = kTrayIconMessage;
    data_.hIcon = icon_;
    tip_ = tip;
    CopyText(data_.szTip, tip);
    filled_ = true;
    failuresLeft_ = AddFailuresForTests();
    return AddAgain();
}

bool TrayIcon::AddAgain() {
    if (!filled_)
        return false;
    // An add that timed out may still have reached the shell: then the icon is there and only
    // a change of it succeeds.
    shown_ = Send(NIM_ADD, data_) || (failuresLeft_ == 0 && Send(NIM_MODIFY, data_));
    return shown_;
}

void TrayIcon::Remove() {
    if (!filled_)
        return;
    Shell_NotifyIconW(NIM_DELETE, &data_);
    filled_ = shown_ = false;
}

void TrayIcon::SetTip(const std::string& tip) {
    tip_ = tip;
    CopyText(data_.szTip, tip);
    if (shown_)
        Send(NIM_MODIFY, data_);
}

void TrayIcon::ShowBalloon(const std::string& title, const std::string& text) {
    balloon_ = text;
    if (!shown_)
        return;
    NOTIFYICONDATAW balloon = data_;
    balloon.uFlags = NIF_INFO;
    CopyText(balloon.szInfoTitle, title);
    CopyText(balloon.szInfo, text);
    balloon.dwInfoFlags = NIIF_WARNING;
    Send(NIM_MODIFY, balloon);
}

void TrayIcon::HideBalloon() {
    if (balloon_.empty())
        return;
    balloon_.clear();
    if (!shown_)
        return;
    // An empty text takes a balloon that is still up away.
    NOTIFYICONDATAW balloon = data_;
    balloon.uFlags = NIF_INFO;
    Send(NIM_MODIFY, balloon);
}

} // namespace zir::win32
