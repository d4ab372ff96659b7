#pragma once

// The tray program's answer to the user-message seam: every message becomes a MessageBoxW box,
// and its text also goes to the standard error when the program has one, so that a script or a
// test sees what the user was told.

#include "platform/UserMessage.h"

#include <functional>
#include <string>
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

// While it lives (on the UI thread, around the run of the UI queue's tasks) boxes wait: a box's
// own message loop would run the next batch in the middle of this one and put log lines out of
// order. ShowHeldMessageBoxes shows them afterwards, in the order they came.
class HoldMessageBoxes {
  public:
    HoldMessageBoxes();
    ~HoldMessageBoxes();
    HoldMessageBoxes(const HoldMessageBoxes&) = delete;
    HoldMessageBoxes& operator=(const HoldMessageBoxes&) = delete;
};
void ShowHeldMessageBoxes();

// The application's report of an error that nothing else caught (a window procedure, the UI
// queue): its message in an error box, and on the standard error.
void ReportUnexpectedError(const std::string& what);

} // namespace zir::win32
