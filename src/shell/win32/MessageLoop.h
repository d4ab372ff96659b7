#pragma once

#include <functional>

namespace zir::win32 {

// The program's one message loop: the main loop with the main window hidden, and the loop a
// modal window runs until `done` says it is closed. Keyboard navigation (Tab, the arrow keys
// in a group) works in zir's windows. Returns the exit code of WM_QUIT, or 0 when `done` ended
// it; a nested loop that meets WM_QUIT posts it again, so that the outer loop ends as well.
int RunMessageLoop(const std::function<bool()>& done = nullptr);

} // namespace zir::win32
