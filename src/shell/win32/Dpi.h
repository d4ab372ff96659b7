#pragma once

// The DPI a window is drawn at. The per-monitor functions came after Windows 7: they are looked
// up at run time, and without them the system DPI holds for every window.

#include <windows.h>

namespace zir::win32 {

// The DPI of the window's monitor (per-monitor aware systems), else the system DPI.
int WindowDpi(HWND window);

// The DPI of the screen, for what is drawn before a window exists.
int SystemDpi();

// The outer size of a window with this client size, style and DPI.
SIZE WindowSizeForClient(SIZE client, DWORD style, DWORD exStyle, int dpi);

} // namespace zir::win32
