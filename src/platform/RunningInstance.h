#pragma once

#include <string>

namespace zir::platform {

// Where a running Windows program takes the news: the class of its main window, of which one
// runs per session, and the registered window message it answers. Linux needs neither.
struct TRunningInstanceAddress {
    const wchar_t* MainWindowClass = nullptr;
    const wchar_t* SettingsChangedMessage = nullptr;
};

// Tells the running instance of the program that its settings file has changed, so that it
// reads the file again and applies it. Linux: SIGHUP to the process that holds the
// single-instance mark of that settings file. Windows: the message posted to the main window
// of the address. False when no instance runs.
bool NotifyRunningInstance(const std::string& settingsFile, const TRunningInstanceAddress& address);

} // namespace zir::platform
