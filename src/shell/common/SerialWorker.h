#pragma once

// One thread of its own that runs the tasks handed to it one after another, in order. The UI
// thread hands it what may take long, such as a stop that waits for busy request handlers, and
// never waits for it; each task reports back through the worker-to-UI queue.

#include <chrono>
#include <functional>
#include <memory>

namespace zir::shell {

class SerialWorker {
  public:
    using Task = std::function<void()>;

    SerialWorker();
    // Runs what is still queued, then ends the thread.
    ~SerialWorker();
    SerialWorker(const SerialWorker&) = delete;
    SerialWorker& operator=(const SerialWorker&) = delete;

    // Queues the task behind those already queued; never waits.
    void Post(Task task);

    // Waits until every task posted so far has run: for the end of a session, when the program
    // has no time left to wait in its message loop. False when `limit` passed first.
    void WaitUntilIdle();
    bool WaitUntilIdle(std::chrono::milliseconds limit);

  private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace zir::shell
