#include "shell/common/UiTaskQueue.h"

#include <exception>
#include <utility>

namespace zir::shell {

UiTaskQueue::UiTaskQueue(WakeUp wakeUp) : wakeUp_(std::move(wakeUp)) {}

bool UiTaskQueue::Push(Task task) {
    std::lock_guard lock(mutex_);
    if (closed_)
        return false;
    tasks_.push_back(std::move(task));
    // Posted under the lock, so that no post can follow Close.
    if (!wakeUpPosted_)
        wakeUpPosted_ = wakeUp_();
    return true;
}

size_t UiTaskQueue::RunQueued() {
    std::deque<Task> batch;
    {
        std::lock_guard lock(mutex_);
        if (closed_)
            return 0;
        batch.swap(tasks_);
        wakeUpPosted_ = false;
    }
    std::exception_ptr first;
    for (Task& task : batch) {
        try {
            task();
        } catch (...) {
            if (!first)
                first = std::current_exception();
        }
    }
    if (first)
        std::rethrow_exception(first);
    return batch.size();
}

void UiTaskQueue::Close() {
    std::deque<Task> dropped;
    std::lock_guard lock(mutex_);
    closed_ = true;
    dropped.swap(tasks_);
}

} // namespace zir::shell
