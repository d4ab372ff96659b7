#pragma once

#include <cstddef>
#include <functional>

namespace zir::platform {

// Runs body on a new detached thread whose stack is stackSize bytes (rounded up as the platform
// requires). False, with body not run, when the thread could not be created.
bool StartDetachedThread(std::size_t stackSize, std::function<void()> body);

} // namespace zir::platform
