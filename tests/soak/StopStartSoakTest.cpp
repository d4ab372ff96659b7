// Stop and start on a new port, again and again, while clients keep sending: no crash, and no
// thread or descriptor left behind.

#include "SoakSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace zir::test;
using namespace std::chrono_literals;

TEST(StopStartSoak, RestartsOnANewPortUnderLoadLeaveNoThreadOrDescriptorBehind) {
    const std::size_t cycles = SoakCount(15, 100);
    ZirService service("CardType=1\nName=王五\nUid=77\n");
    const long pid = service.Process->Pid();
    const std::string expected = service.Get("/?type=UID").Body;
    std::this_thread::sleep_for(100ms); // the worker of that request ends
    const ProcessHoldings before = Holdings(pid);

    std::atomic<int> port{service.Port};
    std::atomic<bool> done{false};
    std::atomic<std::size_t> answered{0}, wrong{0};
    std::vector<std::thread> load;
    for (int c = 0; c < 4; ++c) {
        load.emplace_back([&, c] {
            while (!done) {
                try {
                    RawHttpClient client(port.load());
                    for (int r = 0; r < 50 && !done; ++r) {
                        client.Send(GetRequest(c % 2 ? "/?type=UID" : "/favicon.ico"));
                        auto response = client.ReadResponse(false, 2s);
                        if (!response)
                            break; // the stop closed the connection: connect anew
                        bool right = c % 2 ? response->Body == expected : response->Body.empty();
                        ++(right ? answered : wrong);
                    }
                } catch (const std::exception&) {
                    std::this_thread::sleep_for(1ms); // between stop and start: refused
                }
            }
        });
    }

    for (std::size_t i = 0; i < cycles; ++i) {
        service.Port = FreeLoopbackPort();
        service.Reload({});
        port = service.Port;
        ASSERT_TRUE(service.NextLogLine(
            "==SERVER START SUCCESS --> [127.0.0.1:" + std::to_string(service.Port) + "]"))
            << i;
    }
    done = true;
    for (auto& t : load)
        t.join();

    EXPECT_EQ(service.Get("/?type=UID").Body, expected);
    std::this_thread::sleep_for(100ms);
    const ProcessHoldings after = SettledHoldings(pid, before);
    std::printf("stop/start: %zu cycles, %zu answers under load, %zu wrong; threads %zu -> %zu, "
                "descriptors %zu -> %zu\n",
                cycles, answered.load(), wrong.load(), before.Threads, after.Threads,
                before.Descriptors, after.Descriptors);
    EXPECT_GT(answered.load(), 0u);
    EXPECT_EQ(wrong.load(), 0u);
    EXPECT_EQ(after.Threads, before.Threads);
    EXPECT_EQ(after.Descriptors, before.Descriptors);
    EXPECT_TRUE(service.Process->Stderr().find("zir simulator") == std::string::npos)
        << service.Process->Stderr();
}
