#pragma once

// The settings dialog TForm2 ("系统设置"): the four settings and the log-on autostart. Created
// hidden at start-up and shown modally from the tray menu; filled afresh at every showing.

#include "shell/common/Autostart.h"
#include "shell/win32/FormWindow.h"

#include <functional>
#include <windows.h>

namespace zir::win32 {

class TForm2 : public FormWindow {
  public:
    // The program the autostart entry starts: this one, with its options.
    explicit TForm2(shell::TAutostartProgram program);
    ~TForm2() override;

    static bool RegisterWindowClass(HINSTANCE instance);

    // Creates the dialog hidden, owned by the main window.
    bool Create(HWND owner);

    // FormShow, then the dialog runs modally until it is closed: by the close box, by a
    // successful save, or by Close. While it shows, a second call only brings it to the front.
    void ShowModal();

    // Ends a modal showing (the program is ending).
    void Close();

    // Called after a save that changed the settings in memory, so that the running program
    // puts them into effect (the beep).
    void SetSettingsChangedHandler(std::function<void()> handler);

  private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void LayoutControls() override;
    void WindowGone() override { closed_ = true; }

    void CreateControls();
    void FormShow();
    void btnSaveConfigClick();

    shell::TAutostartProgram program_;
    std::function<void()> settingsChanged_;
    HWND owner_ = nullptr;
    HWND lbl2_ = nullptr;
    HWND TxtWebPort_ = nullptr;
    HWND lbl3_ = nullptr;
    HWND txtWebType_ = nullptr;
    HWND chkCache_ = nullptr;
    HWND chkOpenSound_ = nullptr;
    HWND chkAutoRun_ = nullptr;
    HWND lbl1_ = nullptr;
    HWND btnSaveConfig_ = nullptr;
    bool showing_ = false;
    bool closed_ = true;
};

} // namespace zir::win32
