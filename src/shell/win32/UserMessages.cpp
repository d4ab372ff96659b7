#include "shell/win32/UserMessages.h"

#include "platform/Text.h"
#include "shell/common/ProgramNames.h"
#include "shell/win32/StandardStreams.h"

#include <deque>
#include <memory>

namespace zir::win32 {

namespace {

// UI thread only.
std::shared_ptr<const TMessageBoxRouting> installed;
int holding = 0;
bool showingHeld = false;
std::deque<platform::UserMessage> held;

platform::UserMessageAnswer Unanswered(const platform::UserMessage& message) {
    // A question nobody has answered yet must not be taken as a yes.
    return message.Kind == platform::UserMessageKind::Question ? platform::UserMessageAnswer::Cancel
                                                               : platform::UserMessageAnswer::Ok;
}

platform::UserMessageAnswer ShowOrHold(const TMessageBoxRouting& routing,
                                       const platform::UserMessage& message) {
    if (holding > 0) {
        held.push_back(message);
        return Unanswered(message);
    }
    return ShowMessageBox(message, routing.OwnerWindow(message.Owner));
}

} // namespace

platform::UserMessageAnswer ShowMessageBox(const platform::UserMessage& message, HWND owner) {
    UINT flags = MB_OK;
    switch (message.Kind) {
    case platform::UserMessageKind::Plain:
        break;
    case platform::UserMessageKind::Information:
        flags |= MB_ICONINFORMATION;
        break;
    case platform::UserMessageKind::Error:
        flags |= MB_ICONERROR;
        break;
    case platform::UserMessageKind::Question:
        flags = MB_OKCANCEL | MB_ICONQUESTION;
        break;
    }
    // In front and active, also when its owner is hidden in the tray or it has none: a box
    // behind other programs' windows would leave the program waiting unseen.
    flags |= MB_SETFOREGROUND;
    // A box without an owner (the autostart notices, a worker's report) still disables this
    // thread's windows while it is up: no second save click under it.
    if (owner == nullptr)
        flags |= MB_TASKMODAL;
    const std::wstring text = platform::Utf8ToWide(message.Text);
    const std::wstring caption = platform::Utf8ToWide(
        message.Caption.empty() ? std::string(shell::kApplicationTitle) : message.Caption);
    const int pressed = MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
    return pressed == IDOK ? platform::UserMessageAnswer::Ok : platform::UserMessageAnswer::Cancel;
}

void InstallMessageBoxes(TMessageBoxRouting routing) {
    const DWORD uiThread = GetCurrentThreadId();
    auto shared = std::make_shared<const TMessageBoxRouting>(std::move(routing));
    installed = shared;
    platform::SetUserMessageHandler([uiThread, shared](const platform::UserMessage& message) {
        WriteStandardError(message.Text + "\n");
        if (GetCurrentThreadId() == uiThread)
            return ShowOrHold(*shared, message);
        // Shown after the UI queue's run that brings it.
        shared->RunOnUiThread([shared, message] { ShowOrHold(*shared, message); });
        return Unanswered(message);
    });
}

HoldMessageBoxes::HoldMessageBoxes() {
    ++holding;
}

HoldMessageBoxes::~HoldMessageBoxes() {
    --holding;
}

void ShowHeldMessageBoxes() {
    // One after another: a drain inside a box's loop holds its own boxes for this loop.
    if (showingHeld || holding > 0)
        return;
    showingHeld = true;
    while (!held.empty()) {
        const platform::UserMessage message = std::move(held.front());
        held.pop_front();
        ShowMessageBox(message, installed ? installed->OwnerWindow(message.Owner) : nullptr);
    }
    showingHeld = false;
}

void ReportUnexpectedError(const std::string& what) {
    platform::UserMessage message;
    message.Text = what.empty() ? std::string("unknown error") : what;
    message.Kind = platform::UserMessageKind::Error;
    platform::ShowUserMessage(message);
}

} // namespace zir::win32
