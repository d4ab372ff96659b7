#pragma once

// The control IDs and window messages of zir's windows, each named after its component. Other
// programs (the GUI tests among them) include this header to find and drive the windows; it
// needs no Windows header.

#include "shell/common/ProgramNames.h"

namespace zir::win32 {

// Window classes.
inline constexpr const wchar_t* kMainWindowClass = shell::kMainWindowClassName;
inline constexpr const wchar_t* kSettingsWindowClass = L"TForm2";
// The containers: tab pages and the photo's panel.
inline constexpr const wchar_t* kTabSheetClass = L"TTabSheet";
inline constexpr const wchar_t* kPanelClass = L"TPanel";

// TForm1 ("身份证zir").
enum MainFormControl : int {
    IDC_pages = 1000,      // SysTabControl32
    IDC_pageSheet1 = 1001, // TTabSheet "zir服务"
    IDC_pageSheet2 = 1002, // TTabSheet "解码测试"
    IDC_mmo1 = 1010,       // Edit, multi-line: the service log
    IDC_btnStartServer = 1011,
    IDC_btnStopServer = 1012,
    IDC_mmoIdCard = 1020, // Edit, multi-line: the test page's output
    IDC_pnl1 = 1021,      // TPanel around the photo
    IDC_imgPhoto = 1022,  // Static, owner-drawn: the photo
    IDC_btnTestGetUID = 1023,
    IDC_btnTestIdCard = 1024,
};

// PMenu's items; a WM_COMMAND with one of them does what choosing the item does.
enum TrayMenuItem : int {
    IDM_N1 = 1101, // "关闭系统"
    IDM_N2 = 1102, // "设置"
};

// TForm2 ("系统设置").
enum SettingsFormControl : int {
    IDC_chkAutoRun = 1201,
    IDC_btnSaveConfig = 1202,
    IDC_TxtWebPort = 1203,
    IDC_txtWebType = 1204,
    IDC_chkCache = 1205,
    IDC_chkOpenSound = 1206,
    IDC_lbl2 = 1211, // "服务端口："
    IDC_lbl3 = 1212, // "服务类别："
    IDC_lbl1 = 1213, // the separator line
};

// The tray icon's callback (WM_USER + 101): lParam is the mouse message over the icon.
inline constexpr unsigned kTrayIconMessage = 0x0400 + 101;
inline constexpr unsigned kTrayIconId = 1;

// Registered messages (RegisterWindowMessageW) the main window answers.
inline constexpr const wchar_t* kSettingsChangedMessageName = shell::kSettingsChangedMessageName;
inline constexpr const wchar_t* kQuitMessageName = L"zir.Quit";
// For tests, which cannot read the notification area: answers with a global atom holding the
// tray tip (wParam 0) or the text of the balloon on show (wParam 1; 0 for none). The asker
// deletes the atom.
inline constexpr const wchar_t* kTrayTextMessageName = L"zir.TrayText";

// For tests: the first this many tray icon adds fail, as they do while Explorer is busy.
inline constexpr const wchar_t* kTrayAddFailuresVariable = L"ZIR_TRAY_ADD_FAILURES";

} // namespace zir::win32
