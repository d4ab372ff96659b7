#pragma once

namespace zir::platform {

// Hands memory that the allocator keeps after a burst of connections (freed blocks in the
// per-thread arenas) back to the system, so a program that runs for months does not keep the
// peak of its busiest minute.
void ReturnFreeMemory();

} // namespace zir::platform
