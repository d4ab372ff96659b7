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

void SetUpAllocatorForService() {
#if defined(__GLIBC__)
    // Fixed thresholds also stop glibc from raising them on its own after a large free.
    constexpr int kKeptBytes = 1024 * 1024;
    mallopt(M_TRIM_THRESHOLD, kKeptBytes);
    mallopt(M_MMAP_THRESHOLD, kKeptBytes);
    // The service's work waits on one reader; more arenas only keep more memory.
    mallopt(M_ARENA_MAX, 2);
#endif
}

} // namespace zir::platform
