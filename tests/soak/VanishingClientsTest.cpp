// Clients that go away at every step of an exchange, clients that send a byte at a time, and a
// reader call that hangs: the service keeps serving everybody else and leaks nothing.

#include "SoakSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <thread>

using namespace zir::test;
using namespace std::chrono_literals;

namespace {

const char* const kCard = "CardType=1\nName=王五\nUid=77\n";

// A client that sends these bytes and goes away, reading at most `read` bytes of the answer.
void SendAndVanish(int port, const std::string& bytes, std::size_t read = 0) {
    LoopbackClient client;
    ASSERT_TRUE(client.Connect(static_cast<std::uint16_t>(port)));
    client.Send(bytes);
    if (read > 0)
        client.Take(read, 2000);
}

} // namespace

TEST(VanishingClients, ClientsGoneInTheMiddleOfAnyStepLeaveTheServiceWholeAndLeakNothing) {
    const std::size_t rounds = SoakCount(100, 2000);
    ZirService service(kCard);
    const long pid = service.Process->Pid();
    const std::string expected = service.Get("/").Body;
    std::this_thread::sleep_for(100ms);
    const ProcessHoldings before = Holdings(pid);

    for (std::size_t i = 0; i < rounds; ++i) {
        SendAndVanish(service.Port, "GET /?type=U");                          // request line
        SendAndVanish(service.Port, "GET / HTTP/1.1\r\nHost: 127.0");         // a header
        SendAndVanish(service.Port, "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n"); // between lines
        SendAndVanish(service.Port, "POST / HTTP/1.1\r\nContent-Length: 100\r\n\r\nabc"); // body
        SendAndVanish(service.Port, GetRequest("/"), 100);                       // the response
        SendAndVanish(service.Port, GetRequest("/") + GetRequest("/?type=UID")); // before it
        if (i % 10 == 0) {
            ASSERT_EQ(service.Get("/").Body, expected) << i;
        }
    }
    EXPECT_EQ(service.Get("/").Body, expected);
    const ProcessHoldings after = SettledHoldings(pid, before);
    std::printf("vanishing clients: %zu rounds of 6; threads %zu -> %zu, descriptors %zu -> %zu\n",
                rounds, before.Threads, after.Threads, before.Descriptors, after.Descriptors);
    EXPECT_EQ(after.Threads, before.Threads);
    EXPECT_EQ(after.Descriptors, before.Descriptors);
}

TEST(VanishingClients, ClientsSendingOneByteAtATimeAreAnsweredLikeAnyOther) {
    ZirService service(kCard);
    const std::string expected = service.Get("/?type=UID").Body;
    const std::string request = GetRequest("/?type=UID", "User-Agent: slow\r\nAccept: */*\r\n") +
                                GetRequest("/favicon.ico");
    std::vector<std::thread> senders;
    std::atomic<int> right{0};
    for (int c = 0; c < 8; ++c) {
        senders.emplace_back([&] {
            RawHttpClient client(service.Port);
            for (int r = 0; r < 2; ++r) {
                for (char byte : request) {
                    client.Send(std::string(1, byte));
                    std::this_thread::sleep_for(1ms);
                }
                auto uid = client.ReadResponse();
                auto favicon = client.ReadResponse();
                right += uid && uid->Body == expected && favicon && favicon->Body.empty();
            }
        });
    }
    // Meanwhile others are served as usual.
    EXPECT_EQ(service.Get("/?type=UID").Body, expected);
    for (auto& t : senders)
        t.join();
    EXPECT_EQ(right.load(), 16);
}

TEST(VanishingClients, AReaderCallHangingTenSecondsHoldsUpNeitherTheFaviconNorTheStopRule) {
    ZirService service("CardType=1\nName=王五\nUid=77\nDelayMs=10000\n");
    RawHttpClient hanging(service.Port);
    hanging.Send(GetRequest("/?type=UID"));
    ASSERT_TRUE(service.NextLogLine("##REQUEST --> [URI: /; TYPE: UID]"));
    auto hangStart = std::chrono::steady_clock::now();
    // Only the UID call hangs; the kind of card comes at once.
    service.WriteCard("CardType=1\nName=王五\nUid=77\n");

    std::vector<std::chrono::steady_clock::duration> times;
    for (int i = 0; i < 10; ++i) {
        auto start = std::chrono::steady_clock::now();
        RawHttpClient client(service.Port);
        client.Send(GetRequest("/favicon.ico"));
        auto response = client.ReadResponse(false, 5s);
        times.push_back(std::chrono::steady_clock::now() - start);
        ASSERT_TRUE(response);
        EXPECT_EQ(response->StatusLine, "HTTP/1.1 200 OK");
    }
    ExpectPromptAnswers(times);

    // A stop while the handler is busy: after five seconds it fails as a stop does, the next
    // one succeeds once the read has returned, and the program ends with 0.
    service.Process->Signal(SIGTERM);
    EXPECT_EQ(service.Process->Wait(30s), 0);
    auto lines = service.LogLinesFrom(service.SeenLines);
    std::vector<std::string> stops;
    for (const auto& line : lines)
        if (line.rfind("==SERVER STOP", 0) == 0)
            stops.push_back(line);
    EXPECT_EQ(stops, (std::vector<std::string>{"==SERVER STOP FAIL...Terminate Thread Timeout",
                                               "==SERVER STOP SUCCESS..."}));
    EXPECT_GE(std::chrono::steady_clock::now() - hangStart, 9s);
}
