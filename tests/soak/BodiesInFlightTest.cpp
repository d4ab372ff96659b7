// A thousand clients each sending the largest body the service accepts, all at once: the bodies
// held together stay within the service's budget, the rest is refused cleanly, and the service
// keeps answering everybody else.

#include "ProcessProbe.h"
#include "ServiceFixture.h"
#include "SoakSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <thread>

using namespace zir::test;
using namespace std::chrono_literals;

namespace {

constexpr std::size_t kClients = 1000;
constexpr std::size_t kLargestBody = 1024 * 1024;
const std::string kUnavailable = "HTTP/1.1 503 Service Unavailable\r\n"
                                 "Connection: close\r\n"
                                 "Content-Type: text/html\r\n"
                                 "Content-Length: 0\r\n"
                                 "Server: Indy/9.00.10\r\n"
                                 "\r\n";

} // namespace

TEST(BodiesInFlight, AThousandLargestBodiesAtOnceHoldOnlyTheBudgetTheRestIsRefusedCleanly) {
    ASSERT_TRUE(RaiseOpenFileLimit(2 * kClients + 256));
    ZirService service("CardType=1\nName=王五\nUid=77\n");
    const std::string expected = service.Get("/").Body;
    const std::size_t residentBefore = ProcessResidentBytes(service.Process->Pid()).value();

    auto clients = OpenConnections(service, kClients);
    const std::string head =
        "POST / HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: " + std::to_string(kLargestBody) +
        "\r\n\r\n";
    for (std::size_t i = 0; i < kClients; ++i)
        ASSERT_TRUE(clients[i]->Send(head)) << i;

    // The refusals come at once, before any body byte: collect them until no more arrive.
    std::vector<std::string> answers(kClients);
    std::vector<bool> refused(kClients, false);
    std::size_t refusedCount = 0;
    auto quiet = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - quiet < 1s) {
        for (std::size_t i = 0; i < kClients; ++i) {
            if (refused[i])
                continue;
            answers[i] += clients[i]->Take(kUnavailable.size(), 5);
            if (clients[i]->PeerClosed() || answers[i].size() >= kUnavailable.size()) {
                refused[i] = true;
                ++refusedCount;
                quiet = std::chrono::steady_clock::now();
            }
        }
    }
    const std::size_t accepted = kClients - refusedCount;
    EXPECT_GT(accepted, 0u);
    EXPECT_LE(accepted, 100u); // at most 100 MB of bodies held at once
    for (std::size_t i = 0; i < kClients; ++i) {
        if (refused[i]) {
            EXPECT_EQ(answers[i], kUnavailable) << i;
        }
    }

    // The accepted ones send all but the last byte: their bodies are held now.
    const std::string body(kLargestBody - 1, 'b');
    for (std::size_t i = 0; i < kClients; ++i) {
        if (!refused[i]) {
            ASSERT_TRUE(clients[i]->Send(body)) << i;
        }
    }
    EXPECT_NE(service.Get("/?type=UID").Body.find("\"uid\":\"77\""), std::string::npos);
    std::this_thread::sleep_for(200ms); // the last body bytes reach the service
    const std::size_t peak = ProcessPeakResidentBytes(service.Process->Pid()).value();
    std::printf("bodies in flight: %zu taken, %zu refused, peak memory %zu MB above the start\n",
                accepted, refusedCount, (peak - residentBefore) >> 20);
    // A thousand bodies held at once would be a gigabyte at least.
#ifndef ZIR_THREAD_SANITIZER
    EXPECT_LT(peak - residentBefore, std::size_t{512} << 20) << peak;
#endif

    for (std::size_t i = 0; i < kClients; ++i) {
        if (refused[i])
            continue;
        ASSERT_TRUE(clients[i]->Send("b"));
        std::string answer = clients[i]->TakeUntil(expected, 20000);
        EXPECT_EQ(answer.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << i;
        EXPECT_TRUE(answer.size() >= expected.size() &&
                    answer.compare(answer.size() - expected.size(), expected.size(), expected) == 0)
            << i;
    }
    // Every reservation was given back: bodies are taken again.
    clients.clear();
    LoopbackClient again;
    ASSERT_TRUE(again.Connect(static_cast<std::uint16_t>(service.Port)));
    ASSERT_TRUE(again.Send(head + std::string(kLargestBody, 'b')));
    EXPECT_EQ(again.TakeUntil(expected, 20000).rfind("HTTP/1.1 200 OK\r\n", 0), 0u);
}
