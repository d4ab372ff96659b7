// The answers that only browsers need, end to end: preflights and GET /status, to the byte,
// with and without a WebOrigins list, and neither of them touching the reader.

#include "CardAnswerHead.h"
#include "PreflightAnswerHead.h"
#include "ServiceFixture.h"

#include <gtest/gtest.h>

using namespace zir::test;

namespace {

const char* const kCard = "CardType=1\nName=张三\nUid=A1B2C3D4\n";
const char* const kList = "https://desk.example.com null";
const std::string kStatusBody = std::string(R"({"statusCode":"200","version":")") +
                                ZIR_PROJECT_VERSION + R"(","reader":"ready","simulated":"true"})";

std::string Preflight(const std::string& origin, const std::string& extraHeaders = "",
                      const std::string& host = "127.0.0.1") {
    return "OPTIONS /?type=UID HTTP/1.1\r\nHost: " + host + "\r\nOrigin: " + origin +
           "\r\nAccess-Control-Request-Method: GET\r\n" + extraHeaders + "\r\n";
}

std::string Answer(RawHttpClient& client, const std::string& request, bool headOnly = false) {
    client.Send(request);
    auto response = client.ReadResponse(headOnly);
    return response ? response->Raw() : "(no answer)";
}

size_t RequestLines(const ZirService& service, size_t from) {
    size_t count = 0;
    for (const std::string& line : service.LogLinesFrom(from))
        count += line.find("##REQUEST") != std::string::npos;
    return count;
}

} // namespace

TEST(BrowserAnswersEndToEnd, APreflightIsAnsweredOnAKeptConnectionWithoutALogLine) {
    ZirService service(kCard);
    RawHttpClient client(service.Port);
    const size_t from = service.SeenLines;
    EXPECT_EQ(Answer(client, Preflight("https://evil.example")), PreflightAnswerHead());
    // Authorization is echoed, since "*" would not cover it; the private-network question too.
    EXPECT_EQ(Answer(client, Preflight("http://a.test",
                                       "Access-Control-Request-Headers: authorization,x-desk\r\n"
                                       "Access-Control-Request-Private-Network: true\r\n")),
              PreflightAnswerHead("*", "authorization,x-desk", true));
    // Header names only: a value that would make a line of its own is left out.
    EXPECT_EQ(Answer(client, Preflight("http://a.test",
                                       "Access-Control-Request-Headers: x\rSet-Cookie: a=b\r\n")),
              PreflightAnswerHead());
    // The same connection then reads the card, the first request of them all that is logged.
    const std::string uid = R"({"statusCode":"200","type":"身份证","uid":"A1B2C3D4"})";
    EXPECT_EQ(Answer(client, GetRequest("/?type=UID")), CardAnswerHead(uid.size()) + uid);
    EXPECT_EQ(service.NextLogLine("##"), "##REQUEST --> [URI: /; TYPE: UID]");
    EXPECT_EQ(RequestLines(service, from), 1u);
}

TEST(BrowserAnswersEndToEnd, UnderAListAPreflightIsAnsweredForItsOriginOrRefusedAndLogged) {
    ZirService service(kCard, {.WebOrigins = kList});
    RawHttpClient client(service.Port);
    EXPECT_EQ(Answer(client, Preflight("https://desk.example.com",
                                       "Access-Control-Request-Headers: content-type\r\n")),
              PreflightAnswerHead("https://desk.example.com", "content-type"));
    EXPECT_EQ(Answer(client, Preflight("null")), PreflightAnswerHead("null"));

    const std::string refused = "HTTP/1.1 403 Forbidden\r\n"
                                "Connection: keep-alive\r\n"
                                "Content-Type: text/html\r\n"
                                "Content-Length: 0\r\n"
                                "Server: Indy/9.00.10\r\n"
                                "\r\n";
    EXPECT_EQ(Answer(client, Preflight("https://evil.example")), refused);
    EXPECT_EQ(service.NextLogLine("##"),
              "##REQUEST REFUSED --> [ORIGIN: https://evil.example; not in WebOrigins]");
    const std::string host = "desk.example.com:" + std::to_string(service.Port);
    EXPECT_EQ(Answer(client, Preflight("https://desk.example.com", "", host)), refused);
    EXPECT_EQ(service.NextLogLine("##"),
              "##REQUEST REFUSED --> [HOST: " + host + "; not 127.0.0.1 or localhost]");
}

TEST(BrowserAnswersEndToEnd, AnOptionsRequestThatIsNoPreflightStillGetsNoAnswer) {
    ZirService service(kCard);
    for (const std::string request :
         {"OPTIONS / HTTP/1.1\r\nHost: 127.0.0.1\r\nOrigin: http://a.test\r\n\r\n",
          "OPTIONS / HTTP/1.1\r\nAccess-Control-Request-Method: GET\r\n\r\n"}) {
        RawHttpClient client(service.Port);
        client.Send(request + GetRequest("/?type=UID"));
        EXPECT_TRUE(client.ClosedByPeer());
    }
}

TEST(BrowserAnswersEndToEnd, StatusIsOneLineOfJsonWithTheHeadOfACardAnswer) {
    ZirService service(kCard);
    const size_t from = service.SeenLines;
    RawHttpClient client(service.Port);
    EXPECT_EQ(Answer(client, GetRequest("/status")),
              CardAnswerHead(kStatusBody.size()) + kStatusBody);
    EXPECT_EQ(Answer(client, "HEAD /status HTTP/1.1\r\n\r\n", true),
              CardAnswerHead(kStatusBody.size()));
    // Only the exact path: anything else still reads the card.
    client.Send(GetRequest("/status/"));
    ASSERT_TRUE(client.ReadResponse());
    EXPECT_EQ(service.NextLogLine("##"), "##REQUEST --> [URI: /status/; TYPE: ]");
    EXPECT_EQ(RequestLines(service, from), 1u);
}

TEST(BrowserAnswersEndToEnd, UnderAListStatusFollowsTheOriginRules) {
    ZirService service(kCard, {.WebOrigins = kList});
    RawHttpClient client(service.Port);
    EXPECT_EQ(Answer(client, GetRequest("/status", "Origin: null\r\n")),
              CardAnswerHead(kStatusBody.size(), "null") + kStatusBody);
    client.Send(GetRequest("/status", "Origin: https://evil.example\r\n"));
    auto refused = client.ReadResponse();
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->StatusLine, "HTTP/1.1 403 Forbidden");
    EXPECT_EQ(service.NextLogLine("##"),
              "##REQUEST REFUSED --> [ORIGIN: https://evil.example; not in WebOrigins]");
}

TEST(BrowserAnswersEndToEnd, StatusAndPreflightsAnswerWhileASlowReadHoldsTheReader) {
    ZirService service(std::string(kCard) + "DelayMs=150\n");
    RawHttpClient reading(service.Port);
    reading.Send(GetRequest("/"));
    ASSERT_TRUE(service.NextLogLine("##REQUEST --> [URI: /; TYPE: ]"));

    RawHttpClient other(service.Port);
    EXPECT_EQ(Answer(other, GetRequest("/status")),
              CardAnswerHead(kStatusBody.size()) + kStatusBody);
    EXPECT_EQ(Answer(other, Preflight("http://a.test")), PreflightAnswerHead());
    // The full read (about twenty reader calls) is still going on.
    EXPECT_EQ(reading.ReadAvailable(std::chrono::milliseconds(0)), "");
    auto full = reading.ReadResponse();
    ASSERT_TRUE(full);
    EXPECT_EQ(full->Body.rfind(R"({"statusCode":"200","cardType":"身份证")", 0), 0u);
    // No reader call overlapped the read's: the simulator would have complained.
    EXPECT_EQ(service.Process->Stderr().find("still running"), std::string::npos);
}
