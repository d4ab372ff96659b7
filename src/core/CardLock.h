#pragma once

// The one process-wide card-operation lock. The reader and its selected card, the photo file
// and the decode cache are single resources: every reader call runs under this lock, whoever
// makes it (an HTTP worker, the test page, a console command, the beep switch).

#include <mutex>
#include <utility>

namespace zir::core {

std::mutex& CardOperationMutex();

// Holds the card-operation lock for as long as it lives. Only the function below makes one, so
// a function that takes a guard can only be called with the lock held.
class CardOperationGuard {
    struct Key {
        explicit Key() = default;
    };

  public:
    CardOperationGuard(Key, std::unique_lock<std::mutex> lock) : lock_(std::move(lock)) {}
    CardOperationGuard(const CardOperationGuard&) = delete;
    CardOperationGuard& operator=(const CardOperationGuard&) = delete;

    friend CardOperationGuard LockCardOperation();

  private:
    std::unique_lock<std::mutex> lock_;
};

// Waits for the lock: for request handlers, console commands and the test page's worker.
inline CardOperationGuard LockCardOperation() {
    return CardOperationGuard(CardOperationGuard::Key{},
                              std::unique_lock<std::mutex>(CardOperationMutex()));
}

} // namespace zir::core
