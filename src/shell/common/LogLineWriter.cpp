#include "shell/common/LogLineWriter.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>

namespace zir::shell {

namespace {
// Lines go out in batches of about this size: one write for many lines when the output is slow.
constexpr std::size_t kBatchBytes = 64 * 1024;
// Woken by a line, the writer lets the lines of this moment join it: under load one write (and
// one wake-up) then carries the lines of many requests instead of one or two; a reader of the
// log sees a line this much later.
constexpr std::chrono::milliseconds kGatherTime{1};
} // namespace

struct LogLineWriter::State {
    State(Output o, Limits l) : output(std::move(o)), limits(l) {}

    const Output output;
    const Limits limits;

    std::mutex mutex;
    std::condition_variable wake;     // lines queued, or stop
    std::condition_variable finished; // the writer thread has written everything
    std::deque<std::string> queue;
    std::size_t queuedBytes = 0;
    std::uint64_t droppedSinceNotice = 0;
    std::uint64_t droppedTotal = 0;
    bool stopping = false;
    bool done = false;
    std::thread thread;

    // Where lines went missing, the notice takes their place; it may exceed the limits by itself.
    void QueueDroppedNotice() {
        if (droppedSinceNotice == 0)
            return;
        queue.push_back(DroppedNotice(droppedSinceNotice));
        queuedBytes += queue.back().size();
        droppedSinceNotice = 0;
    }

    void Run() {
        bool outputAlive = true;
        std::unique_lock lock(mutex);
        for (;;) {
            wake.wait(lock,
                      [this] { return !queue.empty() || droppedSinceNotice > 0 || stopping; });
            // Caught up: the gap is told now, not only when the next line comes.
            if (queue.empty())
                QueueDroppedNotice();
            if (queue.empty())
                break;
            if (!stopping && queuedBytes < kBatchBytes)
                wake.wait_for(lock, kGatherTime, [this] { return stopping; });
            std::string batch;
            while (!queue.empty() && batch.size() < kBatchBytes) {
                batch += queue.front();
                batch += '\n';
                queuedBytes -= queue.front().size();
                queue.pop_front();
            }
            // The output may block for as long as its reader pleases: never under the lock.
            lock.unlock();
            if (outputAlive)
                outputAlive = output(batch);
            lock.lock();
        }
        done = true;
        finished.notify_all();
    }
};

LogLineWriter::LogLineWriter(Output output) : LogLineWriter(std::move(output), Limits{}) {}

LogLineWriter::LogLineWriter(Output output, Limits limits)
    : state_(std::make_shared<State>(std::move(output), limits)) {
    // The thread keeps the state alive: it may outlive this object when the output stalls.
    state_->thread = std::thread([state = state_] { state->Run(); });
}

LogLineWriter::~LogLineWriter() {
    Stop();
}

void LogLineWriter::Write(std::string line) {
    State& s = *state_;
    {
        std::lock_guard lock(s.mutex);
        if (s.stopping)
            return;
        if (s.queue.size() >= s.limits.MaxLines ||
            s.queuedBytes + line.size() > s.limits.MaxBytes) {
            ++s.droppedSinceNotice;
            ++s.droppedTotal;
            return;
        }
        s.QueueDroppedNotice();
        s.queuedBytes += line.size();
        s.queue.push_back(std::move(line));
        // A writer with lines still queued is awake and takes this one with them: only the
        // first line after it caught up needs to wake it.
        if (s.queue.size() > 1)
            return;
    }
    // Outside the lock, so the woken writer does not at once wait for this thread's mutex.
    s.wake.notify_one();
}

void LogLineWriter::Stop() {
    State& s = *state_;
    std::unique_lock lock(s.mutex);
    if (s.stopping)
        return;
    s.stopping = true;
    s.QueueDroppedNotice();
    s.wake.notify_one();
    const bool written = s.finished.wait_for(lock, s.limits.StopWait, [&s] { return s.done; });
    lock.unlock();
    if (written)
        s.thread.join();
    else
        s.thread.detach();
}

std::uint64_t LogLineWriter::DroppedLines() const {
    std::lock_guard lock(state_->mutex);
    return state_->droppedTotal;
}

std::string LogLineWriter::DroppedNotice(std::uint64_t count) {
    return std::to_string(count) + " log lines dropped";
}

} // namespace zir::shell
