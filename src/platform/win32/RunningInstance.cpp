#include "platform/RunningInstance.h"

#include <windows.h>

namespace zir::platform {

// The tray program is single per session (the mutex "Tarvo"), whatever its settings file.
bool NotifyRunningInstance(const std::string&, const TRunningInstanceAddress& address) {
    HWND window = FindWindowW(address.MainWindowClass, nullptr);
    if (window == nullptr)
        return false;
    const UINT message = RegisterWindowMessageW(address.SettingsChangedMessage);
    return message != 0 && PostMessageW(window, message, 0, 0) != 0;
}

} // namespace zir::platform
