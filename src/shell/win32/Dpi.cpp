#include "shell/win32/Dpi.h"

#include <string>

namespace zir::win32 {

namespace {

// A function of a system DLL that this Windows may lack; null when it does.
template <typename Function> Function SystemFunction(const wchar_t* module, const char* name) {
    HMODULE handle = GetModuleHandleW(module);
    if (handle == nullptr) {
        // Only from the system folder: never a DLL of that name lying beside the program.
        wchar_t folder[MAX_PATH];
        UINT n = GetSystemDirectoryW(folder, MAX_PATH);
        if (n == 0 || n >= MAX_PATH)
            return nullptr;
        std::wstring path = std::wstring(folder, n) + L"\\" + module;
        handle = LoadLibraryW(path.c_str());
    }
    if (handle == nullptr)
        return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(handle, name)));
}

using GetDpiForWindow_t = UINT(WINAPI*)(HWND);
using GetDpiForMonitor_t = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using AdjustWindowRectExForDpi_t = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

constexpr int kDefaultDpi = 96;
constexpr int kMonitorDpiEffective = 0; // MDT_EFFECTIVE_DPI

} // namespace

int SystemDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDefaultDpi;
}

int WindowDpi(HWND window) {
    static const auto forWindow =
        SystemFunction<GetDpiForWindow_t>(L"user32.dll", "GetDpiForWindow");
    if (forWindow != nullptr && window != nullptr) {
        UINT dpi = forWindow(window);
        if (dpi > 0)
            return static_cast<int>(dpi);
    }
    // Windows 8.1: the monitor's DPI from shcore.
    static const auto forMonitor =
        SystemFunction<GetDpiForMonitor_t>(L"shcore.dll", "GetDpiForMonitor");
    if (forMonitor != nullptr && window != nullptr) {
        UINT x = 0, y = 0;
        HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
        if (SUCCEEDED(forMonitor(monitor, kMonitorDpiEffective, &x, &y)) && x > 0)
            return static_cast<int>(x);
    }
    return SystemDpi();
}

SIZE WindowSizeForClient(SIZE client, DWORD style, DWORD exStyle, int dpi) {
    static const auto adjustForDpi =
        SystemFunction<AdjustWindowRectExForDpi_t>(L"user32.dll", "AdjustWindowRectExForDpi");
    RECT rect{0, 0, client.cx, client.cy};
    if (adjustForDpi == nullptr ||
        !adjustForDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

} // namespace zir::win32
