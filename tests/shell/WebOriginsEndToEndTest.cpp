// WebOrigins end to end: the real program with the simulated reader, raw requests carrying the
// Origin and Host a browser would send.

#include "CardAnswerHead.h"
#include "OriginRequests.h"
#include "ServiceFixture.h"

#include <gtest/gtest.h>

using namespace zir::test;

namespace {

const char* const kCard = "CardType=1\nName=张三\nUid=A1B2C3D4\n";
const std::string kUidBody = R"({"statusCode":"200","type":"身份证","uid":"A1B2C3D4"})";
const char* const kList = "https://desk.example.com, http://intranet:80 null";

const std::string& kRefused = kRefusedAnswer;

RawResponse AskUid(const ZirService& service, const std::string& origin,
                   const std::string& host = "127.0.0.1") {
    RawHttpClient client(service.Port);
    return Ask(client, BrowserRequest("GET", "/?type=UID", host, origin));
}

} // namespace

TEST(WebOriginsEndToEnd, WithoutAListEveryOriginAndHostGetsTheAnswerAsAlways) {
    for (const char* setting : {"", "*"}) {
        SCOPED_TRACE(setting);
        ZirService service(kCard, {.WebOrigins = setting});
        EXPECT_EQ(AskUid(service, "https://evil.example", "evil.example:8000").Raw(),
                  CardAnswerHead(kUidBody.size()) + kUidBody);
        EXPECT_EQ(AskUid(service, "").Raw(), CardAnswerHead(kUidBody.size()) + kUidBody);
        EXPECT_EQ(service.NextLogLine("##"), "##REQUEST --> [URI: /; TYPE: UID]");
    }
}

TEST(WebOriginsEndToEnd, AListedOriginIsAnsweredForItselfToTheByte) {
    ZirService service(kCard, {.WebOrigins = kList});
    const std::string port = std::to_string(service.Port);
    // Compared in canonical form; echoed as sent, which is what the browser checks.
    for (const std::string origin :
         {"https://desk.example.com", "http://intranet", "null", "HTTPS://DESK.example.com:443"}) {
        for (const std::string& host :
             {"127.0.0.1:" + port, "localhost:" + port, std::string("LOCALHOST")}) {
            SCOPED_TRACE(origin + " / " + host);
            EXPECT_EQ(AskUid(service, origin, host).Raw(),
                      CardAnswerHead(kUidBody.size(), origin) + kUidBody);
        }
    }
    // A full read carries the same lines.
    RawHttpClient client(service.Port);
    auto full = Ask(client, BrowserRequest("GET", "/", "127.0.0.1", "null"));
    EXPECT_EQ(full.Head, CardAnswerHead(full.Body.size(), "null"));
    EXPECT_EQ(full.Body.rfind(R"({"statusCode":"200","cardType":"身份证","name":"张三",)", 0), 0u);
}

TEST(WebOriginsEndToEnd, AnUnlistedOriginIsRefusedAndLoggedWithoutAReaderCall) {
    ZirService service(kCard, {.WebOrigins = kList});
    RawHttpClient client(service.Port);
    const size_t from = service.SeenLines;
    for (const std::string origin : {"https://evil.example", "http://desk.example.com",
                                     "http://intranet:8080", "https://desk.example.com/"}) {
        SCOPED_TRACE(origin);
        for (const char* method : {"GET", "POST", "HEAD"}) {
            // The connection stays open for the next request.
            EXPECT_EQ(Ask(client, BrowserRequest(method, "/", "127.0.0.1", origin)).Raw(),
                      kRefused);
            EXPECT_EQ(service.NextLogLine("##"),
                      "##REQUEST REFUSED --> [ORIGIN: " + origin + "; not in WebOrigins]");
        }
    }
    // A program's request on the same connection is served; the refused ones left no request
    // line: each reader call comes after its "##REQUEST" line.
    EXPECT_EQ(Ask(client, BrowserRequest("GET", "/?type=UID", "127.0.0.1", "")).Body, kUidBody);
    ASSERT_EQ(service.NextLogLine("##READ"), "##READ SUCCESS --> 身份证 : A1B2C3D4");
    size_t requestLines = 0;
    for (const std::string& line : service.LogLinesFrom(from))
        requestLines += line.rfind("##REQUEST --> ", 0) == 0;
    EXPECT_EQ(requestLines, 1u);
}

TEST(WebOriginsEndToEnd, AHostThatIsNotTheLoopbackServiceIsRefused) {
    ZirService service(kCard, {.WebOrigins = kList});
    const std::string port = std::to_string(service.Port);
    // A listed site's page, or any page, whose own name was pointed at 127.0.0.1.
    for (const std::string origin : {"https://desk.example.com", ""}) {
        SCOPED_TRACE(origin);
        const std::string host = "desk.example.com:" + port;
        EXPECT_EQ(AskUid(service, origin, host).Raw(), kRefused);
        EXPECT_EQ(service.NextLogLine("##"),
                  "##REQUEST REFUSED --> [HOST: " + host + "; not 127.0.0.1 or localhost]");
    }
}

TEST(WebOriginsEndToEnd, ProgramsWithoutOriginAndTheFaviconAreAnsweredAsAlways) {
    ZirService service(kCard, {.WebOrigins = kList});
    EXPECT_EQ(service.Get("/?type=UID").Raw(),
              CardAnswerHead(kUidBody.size(), "*", true) + kUidBody);
    EXPECT_EQ(service.NextLogLine("##"), "##REQUEST --> [URI: /; TYPE: UID]");
    ASSERT_TRUE(service.NextLogLine("##READ SUCCESS"));

    // The icon carries no card data: the same empty answer for any origin, and no log line.
    RawHttpClient client(service.Port);
    const auto favicon =
        Ask(client, BrowserRequest("GET", "/favicon.ico", "127.0.0.1", "https://evil.example"));
    EXPECT_EQ(favicon.Raw(), "HTTP/1.1 200 OK\r\n"
                             "Connection: keep-alive\r\n"
                             "Content-Type: text/html\r\n"
                             "Content-Length: 0\r\n"
                             "Server: Indy/9.00.10\r\n"
                             "\r\n");
    Ask(client, BrowserRequest("GET", "/?type=UID", "127.0.0.1", ""));
    EXPECT_EQ(service.NextLogLine("##"), "##REQUEST --> [URI: /; TYPE: UID]");
}

TEST(WebOriginsEndToEnd, ZirSettingsAppliesAListFromTheNextRequestAndTakesItAwayAgain) {
    ZirService service(kCard);
    EXPECT_EQ(AskUid(service, "https://evil.example").Body, kUidBody);

    auto saved =
        RunZir({"settings", "--config", service.ConfigFile, "WebOrigins=https://desk.example.com"},
               service.Dir.Path());
    EXPECT_EQ(saved.ExitCode, 0) << saved.Err;
    ASSERT_TRUE(service.WaitForStderr("zir: settings reloaded")) << service.Process->Stderr();
    EXPECT_EQ(AskUid(service, "https://evil.example").Raw(), kRefused);
    EXPECT_EQ(AskUid(service, "https://desk.example.com").Raw(),
              CardAnswerHead(kUidBody.size(), "https://desk.example.com") + kUidBody);

    service.Reload({});
    EXPECT_EQ(AskUid(service, "https://evil.example").Raw(),
              CardAnswerHead(kUidBody.size()) + kUidBody);
}

TEST(WebOriginsEndToEnd, ABadListInTheFileIsReportedAndAllowsNoOrigin) {
    ZIR_SKIP_UNLESS_LINUX_PROGRAM("the Windows program shows the load's message in a box that "
                                  "waits for OK before the service starts");
    ZirService service(kCard, {.WebOrigins = "https://desk.example.com/"});
    const std::string error = "WebOrigins: 'https://desk.example.com/' is not an origin "
                              "(scheme://host[:port], null or *)";
    EXPECT_TRUE(service.WaitForStderr("系统参数加载失败，请核查。[" + error + "]"))
        << service.Process->Stderr();
    EXPECT_EQ(AskUid(service, "https://desk.example.com").Raw(), kRefused);
    EXPECT_EQ(service.NextLogLine("##"),
              "##REQUEST REFUSED --> [ORIGIN: https://desk.example.com; " + error + "]");
    EXPECT_EQ(AskUid(service, "").Body, kUidBody);
}
