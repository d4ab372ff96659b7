#include "shell/common/SerialWorker.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace zir::shell {

struct SerialWorker::State {
    std::mutex mutex;
    std::condition_variable wake; // a task queued, or the end
    std::condition_variable idle; // the queue ran empty
    std::deque<Task> queue;
    bool running = false; // a task is being run
    bool ending = false;
    std::thread thread;

    void Run() {
        std::unique_lock lock(mutex);
        for (;;) {
            wake.wait(lock, [this] { return !queue.empty() || ending; });
            if (queue.empty())
                return;
            Task task = std::move(queue.front());
            queue.pop_front();
            running = true;
            lock.unlock();
            // A task that fails must not end the thread and with it every later task.
            try {
                task();
            } catch (...) {
            }
            lock.lock();
            running = false;
            if (queue.empty())
                idle.notify_all();
        }
    }
};

SerialWorker::SerialWorker() : state_(std::make_unique<State>()) {
    state_->thread = std::thread([state = state_.get()] { state->Run(); });
}

SerialWorker::~SerialWorker() {
    {
        std::lock_guard lock(state_->mutex);
        state_->ending = true;
    }
    state_->wake.notify_all();
    state_->thread.join();
}

void SerialWorker::Post(Task task) {
    {
        std::lock_guard lock(state_->mutex);
        state_->queue.push_back(std::move(task));
    }
    state_->wake.notify_one();
}

void SerialWorker::WaitUntilIdle() {
    std::unique_lock lock(state_->mutex);
    state_->idle.wait(lock, [this] { return state_->queue.empty() && !state_->running; });
}

} // namespace zir::shell

namespace zir::shell {

bool SerialWorker::WaitUntilIdle(std::chrono::milliseconds limit) {
    std::unique_lock lock(state_->mutex);
    return state_->idle.wait_for(lock, limit,
                                 [this] { return state_->queue.empty() && !state_->running; });
}

} // namespace zir::shell
