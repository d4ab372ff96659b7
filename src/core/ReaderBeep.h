#pragma once

// The reader's beep switch. It is a call into the reader library like any read, so it takes the
// card-operation guard: two reader calls at once would corrupt a real reader.

#include "core/CardLock.h"

#include <cstdint>

namespace zir::core {

// 1 on, 0 off, when the bound library has the switch; its result is not used.
void SwitchReaderBeep(const CardOperationGuard& held, int32_t on);

} // namespace zir::core
