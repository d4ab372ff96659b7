#pragma once

// Small helpers for the windows' controls: creation with an ID, placement from the layout,
// texts in UTF-8, and the forms' font at a DPI.

#include "shell/common/FormLayout.h"

#include <string>
#include <windows.h>

namespace zir::win32 {

// A child control of `parent` with the control ID `id`; the text is UTF-8.
HWND CreateControl(HWND parent, const wchar_t* className, const std::string& text, DWORD style,
                   int id, DWORD exStyle = 0);

void MoveControl(HWND control, const shell::TBounds& bounds);

// The control's text, as UTF-8.
std::string ControlText(HWND control);
void SetControlText(HWND control, const std::string& text);

bool IsChecked(HWND checkBox);
void SetChecked(HWND checkBox, bool checked);

// The form font (微软雅黑 by its English face name), GB2312 character set, 11 pixels at 96 DPI,
// scaled to dpi. The caller deletes it.
HFONT CreateFormFont(int dpi);

// Gives the font to the window and every control inside it.
void SetFontOfTree(HWND window, HFONT font);

// The width of the control's text in its font, in pixels.
int TextWidth(HWND control);

// The size of the window's client area.
shell::TExtent ClientExtent(HWND window);

} // namespace zir::win32
