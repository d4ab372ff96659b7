// Hostile and broken input against the real service, one named case each: every case gets the
// request loop's behaviour for it (an answer, or none with the connection closed or left
// waiting), and another client is served right after every case.

#include "PreflightAnswerHead.h"
#include "ServiceFixture.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <ostream>
#include <random>

using namespace zir::test;

namespace {

enum class Then {
    Answer,        // the answers, in order; the connection stays open unless Closes
    NoReplyClosed, // nothing, and the service closes the connection
    NoReplyOpen,   // nothing, and the connection waits for more
};

// What a case expects back, by name: the service's own answers, fetched once.
enum class Reply { Uid, Full, Favicon, Head, TooLarge, Preflight };

struct HostileCase {
    std::string Name;
    std::string Bytes;
    Then Outcome;
    std::vector<Reply> Replies = {};
    bool Closes = false;       // the connection ends after the answers
    bool ShutdownSend = false; // the client then closes its sending side
};

// Test output names the case, not its bytes.
void PrintTo(const HostileCase& c, std::ostream* out) {
    *out << c.Name;
}

std::string Repeat(const std::string& text, std::size_t times) {
    std::string all;
    for (std::size_t i = 0; i < times; ++i)
        all += text;
    return all;
}

std::string Get(const std::string& target, const std::string& headers = "") {
    return "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + headers + "\r\n";
}

std::string Post(const std::string& target, const std::string& headers, const std::string& body) {
    return "POST " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + headers + "\r\n" + body;
}

// A request line of exactly `bytes` bytes before its LF, the CR included.
std::string RequestLineOf(std::size_t bytes) {
    const std::string head = "GET /", tail = " HTTP/1.1\r";
    return head + std::string(bytes - head.size() - tail.size(), 'a') + tail + "\n\r\n";
}

std::string HeaderLines(std::size_t count) {
    std::string lines;
    for (std::size_t i = 0; i < count; ++i)
        lines += "X-" + std::to_string(i) + ": v\r\n";
    return lines;
}

std::string RandomBytesWithoutBlank() {
    std::mt19937 random(7);
    std::string bytes(4096, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(random() & 0xFF);
        if (c == ' ')
            c = 'x';
    }
    bytes[100] = '\n';
    return bytes;
}

std::vector<HostileCase> Cases() {
    using enum Then;
    using enum Reply;
    const std::string tlsHello("\x16\x03\x01\x00\xa5\x01\x00\x00\xa1\x03\x03\x5e\x00\x01", 14);
    return {
        // The request line.
        {"NoBlankInTheRequestLine", "GARBAGE\r\n", NoReplyClosed},
        {"EmptyRequestLine", "\r\n", NoReplyClosed},
        {"LeadingEmptyLines", "\r\n\r\n" + Get("/"), NoReplyClosed},
        {"OnlyABlank", " \r\n\r\n", NoReplyClosed},
        {"TabsInsteadOfBlanks", "GET\t/\tHTTP/1.1\r\n\r\n", NoReplyClosed},
        {"RequestLineOf16384Bytes", RequestLineOf(16384), Answer, {Full}},
        {"RequestLineOf16385Bytes", RequestLineOf(16385), NoReplyClosed},
        {"EndlessLineWithoutLf", std::string(20000, 'A'), NoReplyClosed},
        {"LowerCaseMethodAndValue", "get /?type=uid HTTP/1.1\r\n\r\n", Answer, {Uid}},
        {"Head", "HEAD / HTTP/1.1\r\n\r\n", Answer, {Head}},
        {"Http10WithConnectionClose",
         "GET /?type=UID HTTP/1.0\r\nConnection: close\r\n\r\n",
         Answer,
         {Uid}},
        {"RequestLineWithoutVersion", "GET /\r\n\r\n", Answer, {Full}},
        {"ManyBlanksInTheRequestLine", "GET   /   HTTP/1.1\r\n\r\n", Answer, {Full}},
        {"UnknownMethodThenEmptyLine", "DELETE / HTTP/1.1\r\n\r\n", NoReplyClosed},
        {"UnknownMethodWaitsForTheNextLine", "PUT / HTTP/1.1\r\n", NoReplyOpen},
        {"BrowserPreflight",
         "OPTIONS / HTTP/1.1\r\nOrigin:http://a.test\r\nAccess-Control-Request-Method:GET\r\n\r\n",
         Answer,
         {Preflight}},
        {"PipelinedAfterAPreflight",
         "OPTIONS * HTTP/1.1\r\nOrigin: x\r\nAccess-Control-Request-Method: PUT\r\n\r\n" +
             Get("/?type=UID"),
         Answer,
         {Preflight, Uid}},
        {"OptionsWithOriginOnly", "OPTIONS / HTTP/1.1\r\nOrigin: http://a.test\r\n\r\n",
         NoReplyClosed},
        {"Http2Preface", "PRI * HTTP/2.0\r\n\r\nSM\r\n\r\n", NoReplyClosed},
        {"VeryLongMethod", std::string(1000, 'A') + " / HTTP/1.1\r\n\r\n", NoReplyClosed},
        {"AsteriskTarget", Get("*"), Answer, {Full}},
        {"AbsoluteTargetOfTheFavicon", Get("http://127.0.0.1:1/favicon.ico"), Answer, {Favicon}},
        {"AbsoluteTargetWithCredentials", Get("http://u:p@host.test/?type=UID"), Answer, {Uid}},
        // Line ends.
        {"BareCrInsideTheRequestLine", "GET /?type=UID HTTP/1.1\rX: y\r\n\r\n", Answer, {Full}},
        {"BareCrLineEndsOnly", "GET / HTTP/1.1\rHost: a\r\r", NoReplyOpen},
        {"LfOnlyLineEnds", "GET /?type=UID HTTP/1.1\nHost: a\n\n", Answer, {Uid}},
        {"CrCrLf", "GET /?type=UID HTTP/1.1\r\r\n\r\n", Answer, {Uid}},
        // NUL and control bytes.
        {"NulInThePath", std::string("GET /a\0b HTTP/1.1\r\n\r\n", 21), Answer, {Full}},
        {"NulInAHeader", Get("/?type=UID", std::string("X-\0: \0\0\r\n", 9)), Answer, {Uid}},
        {"NulOnlyLine", std::string("\0\0\0\n", 4), NoReplyClosed},
        {"ControlBytesInThePath", Get("/\x01\x7f\x1b[31m"), Answer, {Full}},
        {"EncodedLineBreakInThePath", Get("/%0D%0A==SERVER STOP SUCCESS..."), Answer, {Full}},
        // Content-Length.
        {"HugeContentLength",
         Post("/", "Content-Length: 99999999999\r\n", "abc"),
         Answer,
         {TooLarge},
         true},
        {"ContentLengthOneOverTheLimit",
         Post("/", "Content-Length: 1048577\r\n", ""),
         Answer,
         {TooLarge},
         true},
        {"NegativeContentLengthOnGet", Get("/?type=UID", "Content-Length: -5\r\n"), Answer, {Uid}},
        {"NegativeContentLengthOnPostReadsToTheEnd",
         Post("/", "Content-Length: -5\r\n", "abc"),
         NoReplyClosed,
         {},
         false,
         true},
        {"ContentLengthNotANumber", Get("/?type=UID", "Content-Length: abc\r\n"), Answer, {Uid}},
        {"ContentLengthWithAPlus",
         Post("/?type=UID", "Content-Length: +3\r\n", "abc"),
         Answer,
         {Uid}},
        {"ContentLengthWithBlanks",
         Post("/?type=UID", "Content-Length:   3  \r\n", "abc"),
         Answer,
         {Uid}},
        {"ContentLengthTwiceTheFirstCounts",
         Post("/?type=UID", "Content-Length: 3\r\nContent-Length: 100\r\n", "abc") +
             Get("/favicon.ico"),
         Answer,
         {Uid, Favicon}},
        {"BodyShorterThanItsLength",
         Post("/", "Content-Length: 100\r\n", "abc"),
         NoReplyClosed,
         {},
         false,
         true},
        {"GetWithABody",
         Post("/?type=UID", "Content-Length: 5\r\n", "abcde") + Get("/favicon.ico"),
         Answer,
         {Uid, Favicon}},
        {"UnsizedPostOverTheLimit",
         Post("/", "", std::string(1024 * 1024 + 1, 'b')),
         Answer,
         {TooLarge},
         true},
        {"ChunkedPostIsReadToTheEnd",
         Post("/", "Transfer-Encoding: chunked\r\n", "3\r\nabc\r\n0\r\n\r\n"),
         NoReplyClosed,
         {},
         false,
         true},
        {"ExpectContinue",
         Post("/?type=UID", "Expect: 100-continue\r\nContent-Length: 3\r\n", "abc"),
         Answer,
         {Uid}},
        {"FormBodyAsksForTheUid",
         Post("/", "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 8\r\n",
              "type=UID"),
         Answer,
         {Uid}},
        {"FormWithACharsetIsNoForm",
         Post("/",
              "Content-Type: application/x-www-form-urlencoded; charset=utf-8\r\n"
              "Content-Length: 8\r\n",
              "type=UID"),
         Answer,
         {Full}},
        {"TypeInAPlainBodyIsIgnored",
         Post("/", "Content-Type: text/plain\r\nContent-Length: 8\r\n", "type=UID"),
         Answer,
         {Full}},
        {"StrayLineEndAfterABody",
         Post("/?type=UID", "Content-Length: 3\r\n", "abc\r\n"),
         Answer,
         {Uid},
         true},
        // Percent escapes and parameters.
        {"BadPercentEscapes", Get("/%zz%4%?type=%"), Answer, {Full}},
        {"PercentEncodedUid", Get("/?type=%55%49%44"), Answer, {Uid}},
        {"PercentNulVanishes", Get("/?type=UID%00"), Answer, {Uid}},
        {"PlusInTheValue", Get("/?type=U+ID"), Answer, {Full}},
        {"EncodedEqualsSignInTheName", Get("/?type%3DUID"), Answer, {Uid}},
        {"EncodedFaviconPath", Get("/%66avicon.ico"), Answer, {Favicon}},
        {"FaviconInCapitals", Get("/FAVICON.ICO"), Answer, {Full}},
        {"FaviconWithAUidQuery", Get("/favicon.ico?type=UID"), Answer, {Favicon}},
        {"TypeTwiceTheFirstDecides",
         Get("/?type=UID&type=x") + Get("/?type=x&TYPE=UID"),
         Answer,
         {Uid, Full}},
        {"AThousandParameters", Get("/?" + Repeat("a=1&", 1000) + "type=UID"), Answer, {Uid}},
        {"Utf8Path", Get("/身份证?type=UID"), Answer, {Uid}},
        {"GbkBytesAndBackslashesInThePath", Get("/\xd5\xc5\\x\\"), Answer, {Full}},
        // Authorization.
        {"BearerAuthorization", Get("/", "Authorization: Bearer abc.def\r\n"), NoReplyClosed},
        {"NtlmAuthorization", Get("/", "Authorization: NTLM TlRMTVNTUAABAAAA\r\n"), NoReplyClosed},
        {"BasicOfUnevenLength", Get("/", "Authorization: Basic abc\r\n"), NoReplyClosed},
        {"BasicTabSeparated", Get("/", "Authorization: Basic\tdXNlcjpwYXNz\r\n"), NoReplyClosed},
        {"BasicValid", Get("/?type=UID", "Authorization: Basic dXNlcjpwYXNz\r\n"), Answer, {Uid}},
        {"BasicInLowerCase",
         Get("/?type=UID", "Authorization: basic dXNlcjpwYXNz\r\n"),
         Answer,
         {Uid}},
        {"BasicOutsideTheAlphabet",
         Get("/?type=UID", "Authorization: Basic !!!!\r\n"),
         Answer,
         {Uid}},
        {"BasicWithoutCredentials", Get("/?type=UID", "Authorization: Basic\r\n"), Answer, {Uid}},
        {"EmptyAuthorization", Get("/?type=UID", "Authorization:\r\n"), Answer, {Uid}},
        // Header floods and odd header lines.
        {"HundredHeaderLines", Get("/?type=UID", HeaderLines(99)), Answer, {Uid}},
        {"HundredAndOneHeaderLines", Get("/?type=UID", HeaderLines(100)), NoReplyClosed},
        {"HeaderLineOf16385Bytes", Get("/", "X: " + std::string(16381, 'v') + "\r\n"),
         NoReplyClosed},
        {"HeaderBlockOver64KiB", Get("/", Repeat("X: " + std::string(16000, 'v') + "\r\n", 5)),
         NoReplyClosed},
        {"HeaderWithoutColon", Get("/?type=UID", "Garbage\r\n"), Answer, {Uid}},
        {"FoldedHeaderLines", Get("/?type=UID", "X-Folded: one\r\n\t two\r\n"), Answer, {Uid}},
        {"DottedHeaderLine", Get("/?type=UID", "..X: y\r\n"), Answer, {Uid}},
        {"HugeExpires", Get("/?type=UID", "Expires: 99999999999\r\n"), Answer, {Uid}},
        {"CookieOf16000Bytes",
         Get("/?type=UID", "Cookie: a=" + std::string(16000, 'c') + "\r\n"),
         Answer,
         {Uid}},
        // Pipelined requests.
        {"ThreePipelined",
         Get("/?type=UID") + Get("/favicon.ico") + Get("/"),
         Answer,
         {Uid, Favicon, Full}},
        {"HundredPipelined", Repeat(Get("/?type=UID"), 100), Answer, std::vector<Reply>(100, Uid)},
        {"PipelinedHeadThenGet",
         "HEAD / HTTP/1.1\r\n\r\n" + Get("/?type=UID"),
         Answer,
         {Head, Uid}},
        {"PipelinedAfterOptions", "OPTIONS / HTTP/1.1\r\nHost: x\r\n\r\n" + Get("/?type=UID"),
         NoReplyClosed},
        // Binary garbage.
        {"TlsClientHello", tlsHello, NoReplyOpen},
        {"GarbageWithABlankAndLineEnds", "\x80\x81 \x82\x83\n\n", NoReplyClosed},
        {"RandomBytesWithoutABlank", RandomBytesWithoutBlank(), NoReplyClosed},
    };
}

class HostileInput : public testing::TestWithParam<HostileCase> {
  protected:
    static void SetUpTestSuite() {
        service = std::make_unique<ZirService>("CardType=1\nName=张三\nUid=0102030405\n");
        replies[Reply::Uid] = service->Get("/?type=UID").Raw();
        RawResponse full = service->Get("/");
        replies[Reply::Full] = full.Raw();
        replies[Reply::Head] = full.Head;
        replies[Reply::Favicon] = service->Get("/favicon.ico").Raw();
        replies[Reply::Preflight] = PreflightAnswerHead();
        replies[Reply::TooLarge] = "HTTP/1.1 413 Request Entity To Long\r\n"
                                   "Connection: close\r\n"
                                   "Content-Type: text/html\r\n"
                                   "Content-Length: 0\r\n"
                                   "Server: Indy/9.00.10\r\n"
                                   "\r\n";
    }
    static void TearDownTestSuite() {
        // Nothing a case sent made the simulated reader or the program complain. (No service
        // when it did not start; the cases were skipped then.)
        if (service) {
            EXPECT_EQ(service->Process->Stderr(), "");
        }
        service.reset();
    }

    static std::unique_ptr<ZirService> service;
    static std::map<Reply, std::string> replies;
};

std::unique_ptr<ZirService> HostileInput::service;
std::map<Reply, std::string> HostileInput::replies;

TEST_P(HostileInput, GetsTheRequestLoopsBehaviourAndOthersAreStillServed) {
    const HostileCase& c = GetParam();
    LoopbackClient client;
    ASSERT_TRUE(client.Connect(static_cast<std::uint16_t>(service->Port)));
    client.Send(c.Bytes); // may fail part way when the service closes first
    if (c.ShutdownSend)
        client.ShutdownSend();

    std::string received;
    switch (c.Outcome) {
    case Then::Answer: {
        std::string expected;
        for (Reply reply : c.Replies)
            expected += replies[reply];
        received = client.Take(expected.size(), 20000);
        EXPECT_TRUE(received == expected)
            << "got " << received.size() << " bytes: " << received.substr(0, 400);
        std::string more;
        if (c.Closes) {
            EXPECT_TRUE(client.WaitClosed(more));
        } else {
            more = client.Take(1, 200);
            EXPECT_FALSE(client.PeerClosed());
        }
        EXPECT_EQ(more, "");
        break;
    }
    case Then::NoReplyClosed:
        EXPECT_TRUE(client.WaitClosed(received));
        EXPECT_EQ(received.substr(0, 400), "");
        break;
    case Then::NoReplyOpen:
        received = client.Take(1, 300);
        EXPECT_EQ(received, "");
        EXPECT_FALSE(client.PeerClosed());
        break;
    }

    // Meanwhile, and after it, the service serves another client as ever.
    EXPECT_EQ(service->Get("/?type=UID").Raw(), replies[Reply::Uid]);
}

INSTANTIATE_TEST_SUITE_P(Cases, HostileInput, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<HostileCase>& info) {
                             return info.param.Name;
                         });

TEST(HostileInputCorpus, HasAtLeastSixtyNamedCases) {
    EXPECT_GE(Cases().size(), 60u);
}

} // namespace
