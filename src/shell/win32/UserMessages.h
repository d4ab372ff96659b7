#pragma once

// The tray program's answer to the user-message seam: every message becomes a MessageBoxW box,
// and its text also goes to the standard error when the program has one, so that a script or a
// test sees what the user was told.

#include "platform/UserMessage.h"

#include <functional>
#include <windows.h>

namespace zir::win32 {

// The windows a box may belong to, as messages name them.
enum : platform::UserMessageOwner { kMainWindowOwner = 1, kSettingsDialogOwner = 2 };

// Shows the message as a box owned by `owner` (may be null) and returns the button pressed.
platform::UserMessageAnswer ShowMessageBox(const platform::UserMessage& message, HWND owner);

// Where the boxes of the running tray program go.
struct TMessageBoxRouting {
    // The windows that own boxes; null until they exist and after they are gone.
    std::function<HWND(platform::UserMessageOwner)> OwnerWindow;
    // Runs a task on the UI thread (false: dropped, the window is gone). A message from another
    // thread is shown from there and answered at once (Ok; a question Cancel): no worker waits
    // for a person.
    std::function<bool(std::function<void()>)> RunOnUiThread;
};

// Installs the handler for the user-message seam; call on the UI thread, which is the thread
// whose messages show at once.
void InstallMessageBoxes(TMessageBoxRouting routing);

} // namespace zir::win32
