// Many clients at once: every answer whole and right, and the reader used by one at a time.

#include "ServiceFixture.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

using namespace zir::test;

TEST(ServiceLoad, EightClientsTimesTwoHundredRequestsAllAnsweredWholeWithoutOverlappingReads) {
    ZirService service("CardType=1\nName=王五\nUid=77\n", {.WebCache = 0});
    const std::string uidBody = service.Get("/?type=UID").Body;
    const std::string fullBody = service.Get("/").Body;
    ASSERT_NE(uidBody.find("\"uid\":\"77\""), std::string::npos);
    ASSERT_GT(fullBody.size(), 10000u);

    constexpr int kClients = 8, kRequests = 200;
    std::atomic<int> good{0}, bad{0};
    std::vector<std::thread> clients;
    for (int c = 0; c < kClients; ++c) {
        clients.emplace_back([&, c] {
            try {
                RawHttpClient client(service.Port); // keep-alive: one connection each
                for (int r = 0; r < kRequests; ++r) {
                    bool uid = (r + c) % 2 == 0;
                    client.Send(GetRequest(uid ? "/?type=UID" : "/"));
                    auto response = client.ReadResponse();
                    bool whole = response && response->StatusLine == "HTTP/1.1 200 OK" &&
                                 response->Body == (uid ? uidBody : fullBody);
                    (whole ? good : bad)++;
                }
            } catch (...) {
                bad++;
            }
        });
    }
    for (auto& t : clients)
        t.join();
    EXPECT_EQ(good.load(), kClients * kRequests);
    EXPECT_EQ(bad.load(), 0);
    // The simulated reader warns on stderr when two calls overlap; the service says nothing else.
    EXPECT_EQ(service.Process->Stderr(), "");
}
