// GET /events on the real program: the simulated reader's card file is placed, swapped and
// taken away while streams listen.

#include "ServiceFixture.h"

#include "EventStreamAnswers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <memory>
#include <thread>
#include <vector>

using namespace zir::test;
using namespace std::chrono_literals;

namespace {

const char* const kCardA = "CardType=1\nName=张三\nUid=A1B2C3D4\n";
const char* const kCardB = "CardType=1\nName=李四\nUid=B2C3D4E5\n";

struct Event {
    std::string Name;
    std::string Data;
};

// An event-stream client: the head, then one event at a time.
class EventClient {
  public:
    EventClient(int port, const std::string& target = "/events") : client_(port) {
        client_.Send(GetRequest(target));
        auto head = client_.ReadResponse(true, 5s);
        if (head)
            Head = head->Head;
    }
    std::optional<Event> Next(std::chrono::milliseconds within = 1s) {
        auto until = std::chrono::steady_clock::now() + within;
        for (;;) {
            std::size_t end = buffer_.find("\n\n");
            if (end != std::string::npos) {
                std::string block = buffer_.substr(0, end);
                buffer_.erase(0, end + 2);
                if (block.rfind(":", 0) == 0)
                    continue; // keep-alive
                Event event;
                std::size_t data = block.find("\ndata: ");
                event.Name = block.substr(7, data - 7);
                event.Data = data == std::string::npos ? "" : block.substr(data + 7);
                return event;
            }
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                until - std::chrono::steady_clock::now());
            if (left <= 0ms)
                return std::nullopt;
            std::string more =
                client_.ReadAvailable(std::min<std::chrono::milliseconds>(left, 50ms));
            buffer_ += more;
        }
    }
    // Events still on their way are passed over.
    bool Closed(std::chrono::milliseconds within) {
        buffer_ += client_.ReadAvailable(within);
        return client_.ClosedByPeer(1ms);
    }

    std::string Head;

  private:
    RawHttpClient client_;
    std::string buffer_;
};

std::string UidBody(const std::string& uid) {
    return R"({"statusCode":"200","type":"身份证","uid":")" + uid + "\"}";
}

void TakeCardAway(ZirService& service) {
    std::this_thread::sleep_for(20ms);
    std::filesystem::remove(service.CardFile);
}

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

} // namespace

TEST(EventStreamEndToEnd, TheFirstEventIsThePresentCardThenEachChangeWithinASecond) {
    ZirService service(kCardA);
    EventClient stream(service.Port);
    EXPECT_EQ(stream.Head, kEventStreamHead);
    auto first = stream.Next();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->Name, "card");
    EXPECT_EQ(first->Data, service.Get("/?type=UID").Body);
    EXPECT_TRUE(service.NextLogLine("##EVENTS OPEN --> [127.0.0.1:"));

    TakeCardAway(service);
    auto removed = stream.Next();
    ASSERT_TRUE(removed);
    EXPECT_EQ(removed->Name, "removed");
    EXPECT_EQ(removed->Data, "{}");
    service.WriteCard(kCardA);
    auto back = stream.Next();
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Data, UidBody("A1B2C3D4"));
    // Another card in place of the first, without a removal between.
    service.WriteCard(kCardB);
    auto other = stream.Next();
    ASSERT_TRUE(other);
    EXPECT_EQ(other->Name, "card");
    EXPECT_EQ(other->Data, UidBody("B2C3D4E5"));
}

TEST(EventStreamEndToEnd, NoCardAtFirstIsARemovedEventAndOnlyExactGetEventsStreams) {
    ZirService service(kCardA);
    TakeCardAway(service);
    EventClient stream(service.Port);
    auto first = stream.Next();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->Name, "removed");
    // Another path, or another method on this one, is a card read as before.
    EXPECT_EQ(service.Get("/events/?type=UID").Body, R"({"statusCode":"500"})");
    RawHttpClient head(service.Port);
    head.Send("HEAD /events HTTP/1.1\r\nHost: x\r\n\r\n");
    auto answer = head.ReadResponse(true);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->Header("Content-Type"), "application/json");
}

TEST(EventStreamEndToEnd, ReadOneSendsTheDocumentThatGetAnswers) {
    ZirService service(kCardA, {.WebCache = 0});
    EventClient stream(service.Port, "/events?read=1");
    auto card = stream.Next();
    auto document = stream.Next(3s);
    ASSERT_TRUE(card && document);
    EXPECT_EQ(card->Name, "card");
    EXPECT_EQ(document->Name, "document");
    EXPECT_TRUE(service.NextLogLine("##DECODE SUCCESS --> 张三"));
    EXPECT_EQ(document->Data, service.Get("/").Body);

    service.WriteCard(kCardB);
    card = stream.Next();
    document = stream.Next(3s);
    ASSERT_TRUE(card && document);
    EXPECT_EQ(card->Data, UidBody("B2C3D4E5"));
    EXPECT_NE(document->Data.find(R"("name":"李四")"), std::string::npos) << document->Data;
    EXPECT_EQ(document->Data, service.Get("/").Body);
}

TEST(EventStreamEndToEnd, TheReaderIsLeftAloneWhileNoStreamIsOpen) {
    // A card file the simulator cannot understand is reported on stderr at the next reader
    // call: a line there shows that the reader was called.
    ZirService service(kCardA);
    auto warnings = [&](std::size_t expected) {
        std::size_t n = 0;
        for (int i = 0;
             i < 100 && (n = Count(service.Process->Stderr(), "zir simulator: ")) < expected; ++i)
            std::this_thread::sleep_for(10ms);
        return n;
    };
    service.WriteCard(std::string(kCardA) + "not a setting\n");
    std::this_thread::sleep_for(600ms);
    EXPECT_EQ(warnings(0), 0u) << service.Process->Stderr();
    {
        EventClient stream(service.Port);
        ASSERT_TRUE(stream.Next());
        if (warnings(1) == 0)
            GTEST_SKIP() << "the simulated reader's warnings do not reach this program's stderr";
    }
    ASSERT_TRUE(service.NextLogLine("##EVENTS CLOSE"));
    service.WriteCard(std::string(kCardA) + "still not a setting\n");
    std::this_thread::sleep_for(600ms);
    EXPECT_EQ(warnings(1), 1u) << service.Process->Stderr();
    service.Get("/?type=UID");
    EXPECT_EQ(warnings(2), 2u) << service.Process->Stderr();
}

TEST(EventStreamEndToEnd, ThirtyTwoStreamsAtMostAVanishedClientFreesItsPlaceAndAStopIsAtOnce) {
    ZirService service(kCardA);
    std::vector<std::unique_ptr<EventClient>> streams;
    for (int i = 0; i < 32; ++i) {
        streams.push_back(std::make_unique<EventClient>(service.Port));
        ASSERT_EQ(streams.back()->Head, kEventStreamHead) << i;
    }
    for (auto& stream : streams)
        ASSERT_TRUE(stream->Next(2s));

    RawHttpClient extra(service.Port);
    extra.Send(GetRequest("/events"));
    auto refused = extra.ReadResponse();
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->Raw(), kEventStreamRefused);
    EXPECT_TRUE(extra.ClosedByPeer(2s));
    EXPECT_TRUE(service.NextLogLine("##EVENTS REFUSED"));

    // A client that goes gives its place back.
    streams.front().reset();
    ASSERT_TRUE(service.NextLogLine("##EVENTS CLOSE"));
    EventClient again(service.Port);
    EXPECT_EQ(again.Head, kEventStreamHead);

    // Timed to the stop's log line: a busy worker would hold it for the five seconds of the
    // stop rule, while the end of the process itself takes Wine its own time.
    const auto start = std::chrono::steady_clock::now();
    service.Process->Signal(SIGTERM);
    EXPECT_TRUE(service.NextLogLine("==SERVER STOP"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
    EXPECT_EQ(service.Process->Wait(10s), 0);
    auto lines = service.Process->Lines();
    EXPECT_EQ(lines.back(), "==SERVER STOP SUCCESS...");
    for (const auto& line : lines)
        EXPECT_EQ(line.find("Terminate Thread Timeout"), std::string::npos) << line;
    EXPECT_TRUE(again.Closed(1s));
}

TEST(EventStreamEndToEnd, APortChangeEndsTheStreamsAndRequestsNeverMeetThePollInTheReader) {
    // Every reader call takes 30 ms: two at once would leave the simulator's warning.
    ZirService service(std::string(kCardA) + "DelayMs=30\n");
    std::vector<std::unique_ptr<EventClient>> streams;
    for (int i = 0; i < 4; ++i)
        streams.push_back(
            std::make_unique<EventClient>(service.Port, i % 2 ? "/events?read=1" : "/events"));
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(service.Get("/?type=UID").Body, UidBody("A1B2C3D4"));
        EXPECT_NE(service.Get("/").Body.find(R"("name":"张三")"), std::string::npos);
    }
    for (auto& stream : streams)
        EXPECT_EQ(stream->Next(2s)->Name, "card");
    EXPECT_EQ(service.Process->Stderr().find("zir simulator: warning"), std::string::npos)
        << service.Process->Stderr();

    service.Port = FreeLoopbackPort();
    const auto start = std::chrono::steady_clock::now();
    service.Reload({});
    EXPECT_EQ(service.NextLogLine("=="), "==SERVER STOP SUCCESS...");
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
    for (auto& stream : streams)
        EXPECT_TRUE(stream->Closed(1s));
    EventClient fresh(service.Port);
    EXPECT_EQ(fresh.Head, kEventStreamHead);
}

TEST(EventStreamEndToEnd, WithAnOriginListAListedPageGetsItsLinesAndAnotherIsRefusedUnwatched) {
    ZirService service(kCardA, {.WebOrigins = "https://desk.example.com"});
    RawHttpClient listed(service.Port);
    listed.Send(GetRequest("/events", "Origin: https://desk.example.com\r\n"));
    auto head = listed.ReadResponse(true, 5s);
    ASSERT_TRUE(head);
    EXPECT_EQ(head->Header("Access-Control-Allow-Origin"), "https://desk.example.com");
    EXPECT_EQ(head->Header("Vary"), "Origin");
    EXPECT_EQ(head->Header("Content-Type"), "text/event-stream");
    EXPECT_TRUE(service.NextLogLine("##EVENTS OPEN"));

    // Refused before it takes a place or the reader is looked at for it.
    RawHttpClient other(service.Port);
    other.Send(GetRequest("/events", "Origin: https://evil.example\r\n"));
    auto refused = other.ReadResponse();
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->StatusLine, "HTTP/1.1 403 Forbidden");
    EXPECT_TRUE(service.NextLogLine("##REQUEST REFUSED --> [ORIGIN: https://evil.example"));
    for (const auto& line : service.LogLinesFrom(0))
        EXPECT_EQ(line.find("OPEN: 2"), std::string::npos) << line;
}
