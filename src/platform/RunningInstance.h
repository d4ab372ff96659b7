#pragma once

#include <string>

namespace zir::platform {

// Tells the running instance of the program that its settings file has changed, so that it
// reads the file again and applies it. Linux: SIGHUP to the process that holds the
// single-instance mark of that settings file. Windows: the registered window message
// "zir.SettingsChanged" posted to the main window (class "TForm1"), of which one runs per
// session. False when no instance runs.
bool NotifyRunningInstance(const std::string& settingsFile);

// The names the Windows program registers and creates, and other programs look for.
inline constexpr const wchar_t* kMainWindowClassName = L"TForm1";
inline constexpr const wchar_t* kSettingsChangedMessageName = L"zir.SettingsChanged";

} // namespace zir::platform
