#pragma once

// The hand-off from worker threads to the UI thread. Workers never wait for the UI thread (a
// stop waits on the UI thread for busy workers), and no thread but the UI thread touches a
// window: a worker pushes a small task, and the UI thread runs everything queued when its one
// wake-up message arrives.

#include <deque>
#include <functional>
#include <mutex>

namespace zir::shell {

class UiTaskQueue {
  public:
    using Task = std::function<void()>;
    // Posts the wake-up message to the UI thread's window (PostMessageW on Windows); true when
    // it was posted. Called with the queue's lock held: it must only post, never wait or push.
    using WakeUp = std::function<bool()>;

    explicit UiTaskQueue(WakeUp wakeUp);
    UiTaskQueue(const UiTaskQueue&) = delete;
    UiTaskQueue& operator=(const UiTaskQueue&) = delete;

    // Any thread. Queues the task and posts a wake-up unless one is already on its way, so the
    // window gets one message however many tasks arrive before it runs them. False when the
    // window is gone (Close) and the task was dropped; a wake-up that could not be posted is
    // tried again by the next push.
    bool Push(Task task);

    // The UI thread, on the wake-up: runs every task queued so far, in order, and returns how
    // many. Tasks pushed meanwhile wait for the next wake-up, which their push posts. A task
    // that throws does not stop the others; the first exception is thrown again at the end.
    size_t RunQueued();

    // The UI thread, as the window goes: queued tasks are dropped, and so is every later push,
    // which posts nothing. Whatever must outlive the window (the service log on stdout) does
    // not go through here.
    void Close();

  private:
    WakeUp wakeUp_;
    std::mutex mutex_;
    std::deque<Task> tasks_;
    bool wakeUpPosted_ = false;
    bool closed_ = false;
};

} // namespace zir::shell
