#pragma once

namespace zir::platform {

// Hands memory that the allocator keeps after a burst of connections (freed blocks in the
// per-thread arenas) back to the system, so a program that runs for months does not keep the
// peak of its busiest minute.
void ReturnFreeMemory();

// For a program that serves many answers of tens of kilobytes from many threads: freed memory up
// to 1 MiB per arena is kept for the next answer instead of being handed back and faulted in
// again on every request, and the threads share two arenas, whose free memory ReturnFreeMemory
// can hand back once a burst is over. Called before the service starts its threads.
void SetUpAllocatorForService();

} // namespace zir::platform
