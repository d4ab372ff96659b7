#pragma once

// The notification-area icon of the main window: icon 1, the application's icon, the tip
// "zir服务", and the mouse messages over it sent to the window as WM_USER + 101.

#include <string>
#include <windows.h>

#include <shellapi.h>

namespace zir::win32 {

class TrayIcon {
  public:
    TrayIcon() = default;
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Fills the record and adds the icon. The result of the shell call is not needed: a shell
    // that is not running yet announces itself with "TaskbarCreated", and Add runs again.
    void Add(HWND window, const std::string& tip);
    // Explorer started again (the "TaskbarCreated" message): the icon it forgot comes back.
    void AddAgain();
    void Remove();

  private:
    NOTIFYICONDATAW data_{};
    HICON icon_ = nullptr;
    bool added_ = false;
};

} // namespace zir::win32
