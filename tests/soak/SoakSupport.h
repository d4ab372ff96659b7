#pragma once

// What the soak and fault tests share: the short form that CI runs and the full form
// (ZIR_SOAK=full), and opening many connections to the real service without overrunning its
// listen queue.

#include "LoopbackClient.h"
#include "ServiceFixture.h"

#include <chrono>
#include <cstddef>
#include <memory>
#include <vector>

namespace zir::test {

// ZIR_SOAK=full selects the full form of every soak test.
bool FullSoak();
// The count for the form that runs.
std::size_t SoakCount(std::size_t shortForm, std::size_t fullForm);

// "Answered within 100 ms": ThreadSanitizer slows every call and thread start so much that
// there it means one second; the other builds check the 100 ms.
std::chrono::milliseconds PromptAnswer();
// Checks a series of answer times against PromptAnswer. One answer may be late by a stray
// scheduling delay of a loaded two-core machine, but not by more than five times the bound;
// a service that keeps clients waiting is late on every answer.
void ExpectPromptAnswers(std::vector<std::chrono::steady_clock::duration> times);

// Opens count connections to the service, each taken by a worker before the next few are
// opened: a burst would overrun the listen queue of 15 and cost seconds of SYN retries.
std::vector<std::unique_ptr<LoopbackClient>> OpenConnections(ZirService& service,
                                                             std::size_t count);

// The threads and descriptors a process holds.
struct ProcessHoldings {
    std::size_t Threads = 0;
    std::size_t Descriptors = 0;
    bool operator==(const ProcessHoldings&) const = default;
};
ProcessHoldings Holdings(long pid);
// Waits up to five seconds until the process holds what it held before (workers end a moment
// after their connection), and returns what it holds then.
ProcessHoldings SettledHoldings(long pid, ProcessHoldings before);

} // namespace zir::test
