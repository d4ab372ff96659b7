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

// Which of the program's windows owns the box, by a number the shell gives its windows and maps
// to them again; kNoOwner: none.
using UserMessageOwner = int;
inline constexpr UserMessageOwner kNoOwner = 0;

enum class UserMessageAnswer { Ok, Cancel };

struct UserMessage {
    std::string Text; // UTF-8
    UserMessageKind Kind = UserMessageKind::Plain;
    std::string Caption; // empty: the shell's application title
    UserMessageOwner Owner = kNoOwner;
};

using UserMessageHandler = std::function<UserMessageAnswer(const UserMessage& message)>;

void SetUserMessageHandler(UserMessageHandler handler);

// Shows the message and returns the button pressed (Ok for every kind but a question).
UserMessageAnswer ShowUserMessage(const UserMessage& message);
// A plain message.
void ShowUserMessage(const std::string& utf8Text);

} // namespace zir::platform
