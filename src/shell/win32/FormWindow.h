#pragma once

// What TForm1 and TForm2 share as top-level windows: their window class with the application's
// icon, the window procedure that hands messages to the object, the size for the client area at
// the window's DPI and its place on the screen, and the forms' font at that DPI.

#include "shell/common/FormLayout.h"

#include <string>
#include <windows.h>

namespace zir::win32 {

class FormWindow {
  public:
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    HWND Handle() const { return handle_; }

  protected:
    FormWindow() = default;
    // A derived form destroys its window itself, while it can still take the messages.
    virtual ~FormWindow();

    static bool RegisterFormClass(HINSTANCE instance, const wchar_t* className);

    // Creates the window hidden with the client size of the layout at 96 DPI; its WM_CREATE
    // comes to HandleMessage. False when the window could not be made.
    bool CreateForm(const wchar_t* className, const std::string& caption, DWORD style,
                    DWORD exStyle, HWND owner, shell::TExtent client, int left, int top);

    // The outer size for the layout's client area at the window's DPI, at the design position
    // or as near to it as the monitor's work area allows.
    void PlaceOnScreen(shell::TExtent designClient, int left, int top);

    // The forms' font at dpi for the window and every control inside it.
    void ApplyDpi(int dpi);

    // WM_DPICHANGED: the font for the new DPI, the rectangle Windows suggests, the layout.
    void FollowDpiChange(WPARAM wParam, LPARAM lParam);

    // Gives control the focus and keeps it there across the form's next activation.
    void FocusControl(HWND control);

    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual void LayoutControls() = 0;
    // After the last message (WM_NCDESTROY): the window is gone.
    virtual void WindowGone() {}

    HWND handle_ = nullptr;
    int dpi_ = 96;

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // As a dialog box does: the control that had the focus gets it back when the form is
    // activated again (after a message box, or from another program), where the default
    // handling would give it to the form itself. Windows may deliver that activation after the
    // box has gone, later than a plain SetFocus made when the box returned. True when handled.
    bool KeepFocusAcrossActivation(WPARAM wParam);

    HWND focus_ = nullptr;
    HFONT font_ = nullptr;
    DWORD style_ = 0;
    DWORD exStyle_ = 0;
};

} // namespace zir::win32
