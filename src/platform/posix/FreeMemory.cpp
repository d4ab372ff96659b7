#include "platform/FreeMemory.h"

#include <cstdlib> // defines __GLIBC__ on glibc systems

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace zir::platform {

void ReturnFreeMemory() {
#if defined(__GLIBC__)
    // Trims every arena, not only the main one, and releases free pages inside them too.
    malloc_trim(0);
#endif
}

} // namespace zir::platform
