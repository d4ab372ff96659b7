// A thousand idle connections do not keep another client waiting.

#include "ProcessProbe.h"
#include "SoakSupport.h"

#include <gtest/gtest.h>

using namespace zir::test;
using namespace std::chrono_literals;

TEST(IdleConnections, AThousandIdleConnectionsWhileAnotherClientIsServedWithin100Ms) {
    ASSERT_TRUE(RaiseOpenFileLimit(2048));
    ZirService service("CardType=1\nName=王五\nUid=77\n");
    const std::string expected = service.Get("/?type=UID").Body;
    auto idle = OpenConnections(service, 1000);
    // Some of them have been served once and wait on keep-alive, the others never spoke.
    for (std::size_t i = 0; i < idle.size(); i += 10) {
        ASSERT_TRUE(idle[i]->Send(GetRequest("/favicon.ico")));
        ASSERT_NE(idle[i]->TakeUntil("\r\n\r\n").find("200 OK"), std::string::npos) << i;
    }

    std::vector<std::chrono::steady_clock::duration> times;
    for (int i = 0; i < 20; ++i) {
        auto start = std::chrono::steady_clock::now();
        RawHttpClient client(service.Port);
        client.Send(GetRequest("/?type=UID"));
        auto response = client.ReadResponse(false, 5s);
        auto took = std::chrono::steady_clock::now() - start;
        ASSERT_TRUE(response);
        EXPECT_EQ(response->Body, expected);
        times.push_back(took);
    }
    std::printf("idle connections: 1000 open, 20 other requests\n");
    ExpectPromptAnswers(times);

    // An idle one still answers, and when they all go their workers go too.
    ASSERT_TRUE(idle[1]->Send(GetRequest("/?type=UID")));
    EXPECT_NE(idle[1]->TakeUntil(expected).find(expected), std::string::npos);
    const std::size_t threads = ProcessThreadCount(service.Process->Pid()).value();
    idle.clear();
    for (int i = 0; i < 500 && ProcessThreadCount(service.Process->Pid()).value() + 1000 > threads;
         ++i)
        std::this_thread::sleep_for(10ms);
    EXPECT_LE(ProcessThreadCount(service.Process->Pid()).value() + 1000, threads);
}
