#pragma once

// The one process-wide card-operation lock. The reader and its selected card, the photo file
// and the decode cache are single resources: every read runs under this lock, whoever starts it
// (an HTTP worker, the test page, a console command).

#include <mutex>

namespace zir::core {

std::mutex& CardOperationMutex();

// Waits for the lock: for request handlers and console commands.
inline std::unique_lock<std::mutex> LockCardOperation() {
    return std::unique_lock<std::mutex>(CardOperationMutex());
}

// Takes the lock only when it is free: the UI thread must never wait for a worker's read.
inline std::unique_lock<std::mutex> TryLockCardOperation() {
    return std::unique_lock<std::mutex>(CardOperationMutex(), std::try_to_lock);
}

} // namespace zir::core
