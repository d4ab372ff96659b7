#pragma once

#include <functional>
#include <string>

namespace zir::platform {

// The one seam through which the program tells the user something or asks: a message box on
// Windows, stderr on the console. Tests install their own handler to read and answer it.

enum class UserMessageKind {
    Plain,       // the application's plain message dialog: no icon, OK, the application title
    Information, // information icon, OK
    Error,       // error icon, OK
    Question,    // question icon, OK and Cancel
};

// Which window owns the box; the Windows shell maps it to its window handle.
enum class UserMessageOwner { None, MainWindow, SettingsDialog };

enum class UserMessageAnswer { Ok, Cancel };

struct UserMessage {
    std::string Text; // UTF-8
    UserMessageKind Kind = UserMessageKind::Plain;
    std::string Caption; // empty: the application title "zir服务"
    UserMessageOwner Owner = UserMessageOwner::None;
};

// The application title: the caption of plain messages, the tray tip, the shortcut's description.
inline constexpr const char* kApplicationTitle = "zir服务";

// The caption of the autostart notices, the close question and the second-instance notice.
inline constexpr const char* kNoticeCaption = "提示信息";

using UserMessageHandler = std::function<UserMessageAnswer(const UserMessage& message)>;

void SetUserMessageHandler(UserMessageHandler handler);

// Shows the message and returns the button pressed (Ok for every kind but a question).
UserMessageAnswer ShowUserMessage(const UserMessage& message);
// A plain message.
void ShowUserMessage(const std::string& utf8Text);

} // namespace zir::platform
