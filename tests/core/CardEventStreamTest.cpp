// One event stream through the real request loop, over a connection whose client the test
// plays: what goes out, when, and how the stream ends.

#include "core/CardEventStream.h"
#include "core/ScriptedReader.h"
#include "core/ServiceLog.h"
#include "http/HttpRequestLoop.h"

#include "EventStreamAnswers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

using namespace std::chrono_literals;
using namespace zir;
using core::CardPresence;
using core::CardWatcher;

namespace {

// The client's side: the request once, then silence; what the server sends, collected. Gone:
// every send fails, as it does once the peer has reset the connection.
class PlayedClient : public http::TIdIOHandler {
  public:
    explicit PlayedClient(std::string request) : request_(std::move(request)) {}

    std::size_t Receive(char* buffer, std::size_t size) override {
        std::lock_guard<std::mutex> guard(mutex_);
        std::size_t n = std::min(size, request_.size() - position_);
        request_.copy(buffer, n, position_);
        position_ += n;
        return n;
    }
    std::size_t Send(const char* data, std::size_t size, bool moreFollows) override {
        std::lock_guard<std::mutex> guard(mutex_);
        if (gone_)
            return 0;
        // A stream's head is not followed at once: held back, it would wait for the first event.
        heldBack_ = heldBack_ || moreFollows;
        output_.append(data, size);
        arrived_.notify_all();
        return size;
    }
    void ShutdownSend() override {}
    void Close() override { closed_ = true; }
    void Abort() override { closed_ = true; }
    bool InputWaiting() const override {
        std::lock_guard<std::mutex> guard(mutex_);
        return position_ < request_.size() || closedByClient_;
    }
    bool Connected() const override { return !closed_; }
    std::string PeerIP() const override { return "127.0.0.1"; }
    int PeerPort() const override { return 50000; }

    // Gone without a word: only a write finds out. Closed: the close waits to be read.
    void Leave() {
        std::lock_guard<std::mutex> guard(mutex_);
        gone_ = true;
    }
    void CloseConnection() {
        std::lock_guard<std::mutex> guard(mutex_);
        closedByClient_ = true;
    }
    // Waits until the output holds text (at or after from); returns where it ends, or npos.
    std::size_t WaitFor(const std::string& text, std::size_t from = 0,
                        std::chrono::milliseconds within = 2s) {
        std::unique_lock<std::mutex> lock(mutex_);
        std::size_t at = std::string::npos;
        arrived_.wait_for(lock, within, [&] {
            at = output_.find(text, from);
            return at != std::string::npos;
        });
        return at == std::string::npos ? at : at + text.size();
    }
    bool HeldBack() {
        std::lock_guard<std::mutex> guard(mutex_);
        return heldBack_;
    }
    std::string Output() {
        std::lock_guard<std::mutex> guard(mutex_);
        return output_;
    }

  private:
    std::string request_;
    std::size_t position_ = 0;
    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    bool closedByClient_ = false;
    std::string output_;
    bool heldBack_ = false;
    bool gone_ = false;
    std::atomic<bool> closed_{false};
};

// A stream served on its own thread, as a worker would; the log lines it wrote are kept.
class CardEventStream : public ::testing::Test {
  protected:
    CardEventStream() {
        core::SetServiceLogSink([this](const std::string& line) {
            std::lock_guard<std::mutex> guard(logMutex);
            log.push_back(line);
        });
        settings.KeepAlive = 10s;
        settings.ReadDocument = [this] { return "{\"full\":" + std::to_string(++reads) + "}"; };
    }
    ~CardEventStream() override {
        watcher.Close();
        for (auto& t : threads)
            t.join();
        core::SetServiceLogSink(nullptr);
    }

    std::shared_ptr<PlayedClient> Open(const std::string& target) {
        auto client = std::make_shared<PlayedClient>("GET " + target + " HTTP/1.1\r\n\r\n");
        struct Forward : http::TIdIOHandler { // the connection owns its handler; the test too
            std::shared_ptr<PlayedClient> c;
            std::size_t Receive(char* b, std::size_t n) override { return c->Receive(b, n); }
            std::size_t Send(const char* d, std::size_t n, bool more) override {
                return c->Send(d, n, more);
            }
            void ShutdownSend() override {}
            void Close() override { c->Close(); }
            void Abort() override { c->Abort(); }
            bool InputWaiting() const override { return c->InputWaiting(); }
            bool Connected() const override { return c->Connected(); }
            std::string PeerIP() const override { return c->PeerIP(); }
            int PeerPort() const override { return c->PeerPort(); }
        };
        auto io = std::make_unique<Forward>();
        io->c = client;
        auto peer = std::make_shared<http::TIdPeerThread>(
            std::make_unique<http::TIdTCPConnection>(std::move(io)));
        peers.push_back(peer);
        http::THttpLoopSettings loop;
        loop.OnCommandGet = [this](http::TIdPeerThread* t, http::TIdHTTPRequestInfo& request,
                                   http::TIdHTTPResponseInfo& response) {
            core::ServeCardEventStream(*t, request, response, watcher, settings,
                                       core::TOriginDecision{});
        };
        threads.emplace_back([peer, loop, this] {
            http::RunHttpRequestLoop(*peer, loop);
            ++ended;
        });
        return client;
    }
    bool EndedWithin(int count, std::chrono::milliseconds within) {
        auto until = std::chrono::steady_clock::now() + within;
        while (ended < count && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(5ms);
        return ended >= count;
    }
    std::vector<std::string> Log() {
        std::lock_guard<std::mutex> guard(logMutex);
        return log;
    }

    test::ScriptedReader card;
    CardWatcher watcher{[this] { return card.Look(); }, 10ms, 2};
    core::CardEventStreamSettings settings;
    std::atomic<int> reads{0};
    std::atomic<int> ended{0};
    std::vector<std::shared_ptr<http::TIdPeerThread>> peers;
    std::vector<std::thread> threads;
    std::mutex logMutex;
    std::vector<std::string> log;
};

} // namespace

TEST_F(CardEventStream, StartsWithThePresentCardAndFollowsEveryChange) {
    card.Remove();
    auto client = Open("/events");
    std::size_t at = client->WaitFor("event: removed\ndata: {}\n\n");
    ASSERT_NE(at, std::string::npos) << client->Output();
    EXPECT_EQ(client->Output(), test::kEventStreamHead + "event: removed\ndata: {}\n\n");
    EXPECT_FALSE(client->HeldBack());
    card.Place("A1");
    at = client->WaitFor("event: card\ndata: {\"uid\":\"A1\"}\n\n", at);
    ASSERT_NE(at, std::string::npos) << client->Output();
    card.Place("B2");
    at = client->WaitFor("event: card\ndata: {\"uid\":\"B2\"}\n\n", at);
    ASSERT_NE(at, std::string::npos) << client->Output();
    card.Remove();
    ASSERT_NE(client->WaitFor("event: removed\n", at), std::string::npos) << client->Output();
    EXPECT_EQ(reads, 0); // no full read without read=1
    watcher.Close();
    ASSERT_TRUE(EndedWithin(1, 1s));
    // The watcher's line comes from its own thread, so its place among the others varies.
    std::vector<std::string> lines = Log();
    auto noCard = std::find(lines.begin(), lines.end(), "##EVENTS NO CARD --> no card");
    ASSERT_NE(noCard, lines.end());
    lines.erase(noCard);
    EXPECT_EQ(lines, (std::vector<std::string>{"##EVENTS OPEN --> [127.0.0.1:50000; OPEN: 1]",
                                               "##EVENTS CLOSE --> [127.0.0.1:50000; OPEN: 0]"}));
}

TEST_F(CardEventStream, WithReadEachCardIsFollowedByItsDocument) {
    card.Place("A1");
    auto client = Open("/events?read=1");
    std::size_t at = client->WaitFor("event: document\ndata: {\"full\":1}\n\n");
    ASSERT_NE(at, std::string::npos) << client->Output();
    EXPECT_EQ(client->Output(), test::kEventStreamHead + "event: card\ndata: {\"uid\":\"A1\"}\n\n"
                                                         "event: document\ndata: {\"full\":1}\n\n");
    card.Remove();
    at = client->WaitFor("event: removed\ndata: {}\n\n", at);
    card.Place("B2");
    ASSERT_NE(client->WaitFor("event: card\ndata: {\"uid\":\"B2\"}\n\n"
                              "event: document\ndata: {\"full\":2}\n\n",
                              at),
              std::string::npos)
        << client->Output();
    EXPECT_EQ(Log().at(0), "##EVENTS OPEN --> [127.0.0.1:50000; READ: 1; OPEN: 1]");
}

TEST_F(CardEventStream, AnIdleStreamKeepsAliveAndAClientThatLeavesIsNoticedAndFreesItsPlace) {
    settings.KeepAlive = 30ms;
    card.Place("A1");
    auto client = Open("/events");
    std::size_t at = client->WaitFor("event: card\n");
    ASSERT_NE(client->WaitFor(": keep-alive\n\n", at), std::string::npos) << client->Output();
    auto other = Open("/events");
    ASSERT_NE(other->WaitFor("event: card\n"), std::string::npos);
    client->Leave();
    ASSERT_TRUE(EndedWithin(1, 1s));
    EXPECT_EQ(watcher.Subscribers(), 1u);
    auto third = Open("/events");
    EXPECT_NE(third->WaitFor("event: card\n"), std::string::npos) << third->Output();
    // A client that closes is noticed without a write.
    other->CloseConnection();
    ASSERT_TRUE(EndedWithin(2, 1s));
    EXPECT_EQ(watcher.Subscribers(), 1u);
    watcher.Close();
    ASSERT_TRUE(EndedWithin(3, 1s));
}

TEST_F(CardEventStream, OneMoreThanTheLimitIsRefusedWith503AndAStoppedWorkerEndsItsStream) {
    card.Place("A1");
    auto first = Open("/events");
    auto second = Open("/events");
    ASSERT_NE(first->WaitFor("event: card\n"), std::string::npos);
    ASSERT_NE(second->WaitFor("event: card\n"), std::string::npos);
    auto refused = Open("/events");
    ASSERT_TRUE(EndedWithin(1, 1s));
    EXPECT_EQ(refused->Output(), test::kEventStreamRefused);
    EXPECT_EQ(Log().at(2), "##EVENTS REFUSED --> [127.0.0.1:50000; OPEN: 2]");
    // A server's stop marks its workers stopped (and aborts their connections).
    peers[0]->Stop();
    ASSERT_TRUE(EndedWithin(2, 1s));
    peers[1]->Stop();
    peers[1]->Connection().Abort();
    ASSERT_TRUE(EndedWithin(3, 1s));
}
