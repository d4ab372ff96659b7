#include "shell/win32/TrayIcon.h"

#include "platform/Text.h"
#include "shell/win32/ControlIds.h"
#include "shell/win32/ResourceIds.h"

#include <shellapi.h>

namespace zir::win32 {

TrayIcon::~TrayIcon() {
    Remove();
    if (icon_ != nullptr)
        DestroyIcon(icon_);
}

void TrayIcon::Add(HWND window, const std::string& tip) {
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
    const std::wstring wide = platform::Utf8ToWide(tip);
    lstrcpynW(data_.szTip, wide.c_str(), static_cast<int>(sizeof data_.szTip / sizeof(wchar_t)));
    Shell_NotifyIconW(NIM_ADD, &data_);
    added_ = true;
}

void TrayIcon::AddAgain() {
    if (added_)
        Shell_NotifyIconW(NIM_ADD, &data_);
}

void TrayIcon::Remove() {
    if (!added_)
        return;
    Shell_NotifyIconW(NIM_DELETE, &data_);
    added_ = false;
}

} // namespace zir::win32
