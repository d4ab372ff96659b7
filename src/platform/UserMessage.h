#pragma once

#include <functional>
#include <string>

namespace zir::platform {

// The one seam through which the program shows a plain message to the user (the application's
// message dialog on Windows, stderr on the console). Tests install their own handler to answer.
using UserMessageHandler = std::function<void(const std::string& utf8Text)>;

void SetUserMessageHandler(UserMessageHandler handler);
void ShowUserMessage(const std::string& utf8Text);

} // namespace zir::platform
