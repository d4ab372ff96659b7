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

    // Fills the record and adds the icon; false when the shell refused it or did not answer in
    // time (a busy Explorer at log-on): the caller tries again with AddAgain.
    bool Add(HWND window, const std::string& tip);
    // Adds the icon again: after a failed add, or when Explorer started again ("TaskbarCreated")
    // and forgot it. True once the icon is there.
    bool AddAgain();
    bool Shown() const { return shown_; }
    void Remove();

    // The tip and the balloon, kept for an icon that is added again later.
    void SetTip(const std::string& tip);
    void ShowBalloon(const std::string& title, const std::string& text);
    void HideBalloon();
    const std::string& Tip() const { return tip_; }
    const std::string& Balloon() const { return balloon_; }

  private:
    bool Send(DWORD action, NOTIFYICONDATAW data);

    NOTIFYICONDATAW data_{};
    HICON icon_ = nullptr;
    bool filled_ = false;
    bool shown_ = false;
    std::string tip_;
    std::string balloon_;
    // A test's stand-in for a busy shell: the first adds fail (ZIR_TRAY_ADD_FAILURES).
    int failuresLeft_ = 0;
};

} // namespace zir::win32
