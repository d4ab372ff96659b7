#pragma once

// The names by which the user and other programs know this program.

#include "platform/RunningInstance.h"

namespace zir::shell {

// The application title: the caption of plain messages, the tray tip, the shortcut's description.
inline constexpr const char* kApplicationTitle = "zir服务";

// The caption of the autostart notices, the close question and the second-instance notice.
inline constexpr const char* kNoticeCaption = "提示信息";

// What the Windows program registers and creates, and other programs look for: its main
// window's class and the message that tells it the settings file has changed.
inline constexpr const wchar_t* kMainWindowClassName = L"TForm1";
inline constexpr const wchar_t* kSettingsChangedMessageName = L"zir.SettingsChanged";
inline constexpr platform::TRunningInstanceAddress kRunningInstance{kMainWindowClassName,
                                                                    kSettingsChangedMessageName};

} // namespace zir::shell
