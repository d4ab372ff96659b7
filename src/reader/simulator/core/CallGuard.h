#pragma once

#include <atomic>
#include <string>

namespace zir::reader::simulator {

// A real reader is one device behind one serial line: two calls at once corrupt its answers.
// The simulator lets only one call in at a time; a call that arrives while another is inside
// fails and leaves a warning line on stderr, so tests can see callers that do not serialise.
class CallGuard {
  public:
    class Entry {
      public:
        explicit Entry(CallGuard& guard, const char* function);
        ~Entry();
        Entry(const Entry&) = delete;
        Entry& operator=(const Entry&) = delete;
        // False: another call was inside; this one must fail without touching its buffers.
        bool Admitted() const { return admitted_; }

      private:
        CallGuard& guard_;
        bool admitted_;
    };

    // Overlapping calls seen so far.
    int Overlaps() const { return overlaps_.load(); }

  private:
    std::atomic<int> inside_{0};
    std::atomic<int> overlaps_{0};
    std::atomic<const char*> current_{nullptr};
};

// What an overlapping call returns.
inline constexpr int kOverlapResult = -1;

// Waits the card's DelayMs, imitating the time a reader takes.
void ImitateReaderDelay(int delayMs);

} // namespace zir::reader::simulator
