#include "SoakSupport.h"

#include "ProcessProbe.h"
#include "platform/Environment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <string_view>
#include <thread>

namespace zir::test {

bool FullSoak() {
    return platform::GetEnvironmentValue("ZIR_SOAK").value_or("") == "full";
}

std::size_t SoakCount(std::size_t shortForm, std::size_t fullForm) {
    return FullSoak() ? fullForm : shortForm;
}

std::chrono::milliseconds PromptAnswer() {
#ifdef ZIR_THREAD_SANITIZER
    return std::chrono::milliseconds(1000);
#else
    // Under an emulator (the 32-bit build on a kernel without 32-bit support) time says little
    // about the service: the bound is the one of the sanitizer build.
    return std::chrono::milliseconds(std::string_view(ZIR_TEST_EMULATOR).empty() ? 100 : 1000);
#endif
}

void ExpectPromptAnswers(std::vector<std::chrono::steady_clock::duration> times) {
    ASSERT_GE(times.size(), 2u);
    std::sort(times.begin(), times.end());
    auto ms = [](std::chrono::steady_clock::duration d) {
        return std::chrono::duration_cast<std::chrono::milliseconds>(d).count();
    };
    std::printf("answers: fastest %lld ms, all but one within %lld ms, slowest %lld ms\n",
                static_cast<long long>(ms(times.front())),
                static_cast<long long>(ms(times[times.size() - 2])),
                static_cast<long long>(ms(times.back())));
    EXPECT_LT(times[times.size() - 2], PromptAnswer());
    EXPECT_LT(times.back(), 5 * PromptAnswer());
}

std::vector<std::unique_ptr<LoopbackClient>> OpenConnections(ZirService& service,
                                                             std::size_t count) {
    constexpr std::size_t kBurst = 8;
    const long pid = service.Process->Pid();
    const std::size_t threadsBefore = ProcessThreadCount(pid).value_or(0);
    std::vector<std::unique_ptr<LoopbackClient>> clients;
    for (std::size_t i = 0; i < count; ++i) {
        clients.push_back(std::make_unique<LoopbackClient>());
        if (!clients.back()->Connect(static_cast<std::uint16_t>(service.Port)))
            throw std::runtime_error("connection " + std::to_string(i) + " refused");
        if ((i + 1) % kBurst != 0 && i + 1 != count)
            continue;
        // One worker thread per accepted connection; a worker of an earlier client may still be
        // ending, so two less will do for pacing.
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (ProcessThreadCount(pid).value_or(0) + 2 < threadsBefore + i + 1) {
            if (std::chrono::steady_clock::now() > deadline)
                throw std::runtime_error("connection " + std::to_string(i) + " not taken");
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    }
    return clients;
}

ProcessHoldings Holdings(long pid) {
    return {ProcessThreadCount(pid).value_or(0), ProcessDescriptorCount(pid).value_or(0)};
}

ProcessHoldings SettledHoldings(long pid, ProcessHoldings before) {
    ProcessHoldings now = Holdings(pid);
    for (int i = 0; i < 500 && now != before; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        now = Holdings(pid);
    }
    return now;
}

} // namespace zir::test
