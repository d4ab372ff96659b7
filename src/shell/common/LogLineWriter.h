#pragma once

// Service-log lines to an output that may stall (a full pipe, a paused terminal, a hung
// supervisor): any thread hands over whole lines and never waits for the output; one writer
// thread writes them in order. A full queue drops lines, counts them, and tells how many were
// dropped where they are missing, once the output takes lines again.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace zir::shell {

class LogLineWriter {
  public:
    // Writes all bytes (whole lines, each ending in "\n") and returns when they are out, however
    // long the output takes. False when the output is gone for good: later lines are discarded.
    using Output = std::function<bool(std::string_view bytes)>;

    struct Limits {
        std::size_t MaxLines = 4096;        // lines waiting at most
        std::size_t MaxBytes = 1024 * 1024; // bytes waiting at most
        // How long Stop waits for the output to take what is queued.
        std::chrono::milliseconds StopWait{1000};
    };

    explicit LogLineWriter(Output output);
    LogLineWriter(Output output, Limits limits);
    // Stops (see Stop).
    ~LogLineWriter();
    LogLineWriter(const LogLineWriter&) = delete;
    LogLineWriter& operator=(const LogLineWriter&) = delete;

    // Queues one line (without its "\n"); never waits for the output. When the queue is full the
    // line is dropped and counted. Lines handed over after Stop are discarded.
    void Write(std::string line);

    // Writes everything queued, then ends the writer thread. With an output that does not take
    // the lines within Limits::StopWait it returns anyway and leaves the thread behind, blocked
    // in the output; the process may end with it.
    void Stop();

    // Lines dropped because the queue was full, since the start.
    std::uint64_t DroppedLines() const;

    // The line written where dropped lines are missing.
    static std::string DroppedNotice(std::uint64_t count);

  private:
    struct State;
    std::shared_ptr<State> state_;
};

} // namespace zir::shell
