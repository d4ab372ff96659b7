#include "platform/FreeMemory.h"

#include <windows.h>

namespace zir::platform {

void ReturnFreeMemory() {
    // The process heap gives up its free pages at the end of its segments.
    HeapCompact(GetProcessHeap(), 0);
}

void SetUpAllocatorForService() {
    // The Windows heap keeps freed blocks by itself.
}

} // namespace zir::platform
