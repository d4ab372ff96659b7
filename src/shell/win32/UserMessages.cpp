#include "shell/win32/UserMessages.h"

#include "platform/Text.h"
#include "shell/common/ProgramNames.h"
#include "shell/win32/StandardStreams.h"

#include <memory>

namespace zir::win32 {

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
    const std::wstring text = platform::Utf8ToWide(message.Text);
    const std::wstring caption = platform::Utf8ToWide(
        message.Caption.empty() ? std::string(shell::kApplicationTitle) : message.Caption);
    const int pressed = MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
    return pressed == IDOK ? platform::UserMessageAnswer::Ok : platform::UserMessageAnswer::Cancel;
}

void InstallMessageBoxes(TMessageBoxRouting routing) {
    const DWORD uiThread = GetCurrentThreadId();
    auto shared = std::make_shared<const TMessageBoxRouting>(std::move(routing));
    platform::SetUserMessageHandler([uiThread, shared](const platform::UserMessage& message) {
        if (StandardError().Present())
            StandardError().Write(message.Text + "\n");
        if (GetCurrentThreadId() == uiThread)
            return ShowMessageBox(message, shared->OwnerWindow(message.Owner));
        shared->RunOnUiThread(
            [shared, message] { ShowMessageBox(message, shared->OwnerWindow(message.Owner)); });
        // A question nobody has answered yet must not be taken as a yes.
        return message.Kind == platform::UserMessageKind::Question
                   ? platform::UserMessageAnswer::Cancel
                   : platform::UserMessageAnswer::Ok;
    });
}

} // namespace zir::win32
