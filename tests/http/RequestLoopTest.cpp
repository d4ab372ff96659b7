// The request loop over an in-memory connection: every byte the client sees.

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "MemoryExchange.h"
#include "http/EIdException.h"
#include "http/RequestBodyBudget.h"

using zir::http::TIdHTTPRequestInfo;
using zir::http::TIdHTTPResponseInfo;
using zir::http::TIdPeerThread;
using zir::test::RunExchange;
using zir::test::ServiceSettings;

namespace {

const char kClosed[] = "Connection Closed Gracefully.";

// What the card service sets on every answer.
void ServiceAnswer(TIdHTTPResponseInfo& response, const std::string& body) {
    response.ContentType = "application/json";
    response.ContentEncoding = "utf-8";
    response.CustomHeaders.Add("Access-Control-Allow-Origin:*");
    response.CustomHeaders.Add("Access-Control-Allow-Headers:*");
    response.CustomHeaders.Add("Access-Control-Allow-Method:*");
    response.ResponseBody = body;
}

const std::string kFaviconAnswer = "HTTP/1.1 200 OK\r\n"
                                   "Connection: keep-alive\r\n"
                                   "Content-Type: text/html\r\n"
                                   "Content-Length: 0\r\n"
                                   "Server: Indy/9.00.10\r\n"
                                   "\r\n";

} // namespace

TEST(RequestLoop, ServiceAnswerIsWrittenByteForByteInOneHeaderPiece) {
    TIdHTTPRequestInfo seen;
    auto result = RunExchange("get /?type=uid HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n",
                              ServiceSettings([&](TIdPeerThread*, TIdHTTPRequestInfo& request,
                                                  TIdHTTPResponseInfo& response) {
                                  seen = request;
                                  ServiceAnswer(response, "{\"a\":1}");
                              }));
    EXPECT_EQ(result.Output, "HTTP/1.1 200 OK\r\n"
                             "Connection: keep-alive\r\n"
                             "Content-Encoding: utf-8\r\n"
                             "Content-Type: application/json\r\n"
                             "Content-Length: 7\r\n"
                             "Access-Control-Allow-Origin:*\r\n"
                             "Access-Control-Allow-Headers:*\r\n"
                             "Access-Control-Allow-Method:*\r\n"
                             "Server: Indy/9.00.10\r\n"
                             "\r\n"
                             "{\"a\":1}");
    EXPECT_EQ(result.SendCalls, 2); // header block, then body
    EXPECT_EQ(result.Error, kClosed);
    EXPECT_EQ(seen.Method, "GET");
    EXPECT_EQ(seen.RequestPath, "/");
    EXPECT_EQ(seen.QueryString, "type=uid");
    ASSERT_EQ(seen.ParamList, std::vector<std::string>{"type=uid"});
    EXPECT_EQ(seen.Param("TYPE"), "uid");
    EXPECT_EQ(seen.ProtocolVersion, "HTTP/1.1");
    EXPECT_EQ(seen.RequestLine, "get /?type=uid HTTP/1.1");
    EXPECT_EQ(seen.Host, "127.0.0.1");
    EXPECT_EQ(seen.PeerAddress, "127.0.0.1");
}

TEST(RequestLoop, EmptyAnswersCarryContentLengthZeroAndTheConnectionServesOn) {
    int calls = 0;
    auto handler = [&](TIdPeerThread*, TIdHTTPRequestInfo& request, TIdHTTPResponseInfo& response) {
        ++calls;
        if (request.RequestPath != "/favicon.ico") {
            ServiceAnswer(response, "x");
        }
    };
    auto result = RunExchange("GET /favicon.ico HTTP/1.1\r\n\r\nGET /next HTTP/1.1\n\n",
                              ServiceSettings(handler));
    EXPECT_EQ(calls, 2);
    ASSERT_EQ(result.Output.substr(0, kFaviconAnswer.size()), kFaviconAnswer);
    EXPECT_NE(result.Output.find("Content-Length: 1\r\n"), std::string::npos);
    EXPECT_EQ(result.Output.back(), 'x');
}

TEST(RequestLoop, AnOpenEndedBodyHasNoLengthAndEndsWithTheConnection) {
    // A handler that writes its own body after the head; what the pipelined request asks is
    // never served, since the connection carried only that body.
    auto handler = [](TIdPeerThread* thread, TIdHTTPRequestInfo&, TIdHTTPResponseInfo& response) {
        response.ContentType = "text/event-stream";
        response.OpenEndedBody = true;
        response.SetCloseAfterResponse(true);
        response.SendHeaderBlock();
        thread->Connection().Write("data: 1\n\n");
    };
    auto result =
        RunExchange("GET /a HTTP/1.1\r\n\r\nGET /b HTTP/1.1\r\n\r\n", ServiceSettings(handler));
    EXPECT_EQ(result.Output, "HTTP/1.1 200 OK\r\n"
                             "Connection: close\r\n"
                             "Content-Type: text/event-stream\r\n"
                             "Server: Indy/9.00.10\r\n"
                             "\r\n"
                             "data: 1\n\n");
    EXPECT_FALSE(result.ConnectionOpen);
}

TEST(RequestLoop, PipelinedRequestsAreAnsweredInOrderWhateverVersionOrConnectionHeader) {
    auto handler = [](TIdPeerThread*, TIdHTTPRequestInfo& request, TIdHTTPResponseInfo& response) {
        response.ResponseBody = request.RequestPath;
    };
    auto result = RunExchange("GET /1 HTTP/1.0\r\nConnection: close\r\n\r\n"
                              "GET /2 HTTP/1.1\r\n\r\nGET /3 HTTP/1.1\r\n\r\n",
                              ServiceSettings(handler), 7);
    std::size_t one = result.Output.find("\r\n\r\n/1");
    std::size_t two = result.Output.find("\r\n\r\n/2");
    std::size_t three = result.Output.find("\r\n\r\n/3");
    ASSERT_NE(one, std::string::npos);
    ASSERT_NE(two, std::string::npos);
    ASSERT_NE(three, std::string::npos);
    EXPECT_LT(one, two);
    EXPECT_LT(two, three);
    EXPECT_EQ(result.Output.find("close"), std::string::npos);
    EXPECT_EQ(result.Error, kClosed);
}

TEST(RequestLoop, HeadGetsGetsHeaderLinesButNoBody) {
    int calls = 0;
    auto handler = [&](TIdPeerThread*, TIdHTTPRequestInfo&, TIdHTTPResponseInfo& response) {
        ++calls;
        ServiceAnswer(response, "hello");
    };
    auto get = RunExchange("GET / HTTP/1.1\r\n\r\n", ServiceSettings(handler));
    auto head =
        RunExchange("HEAD / HTTP/1.1\r\n\r\nGET / HTTP/1.1\r\n\r\n", ServiceSettings(handler));
    EXPECT_EQ(calls, 3);
    ASSERT_EQ(get.Output.substr(get.Output.size() - 5), "hello");
    std::string getHeaders = get.Output.substr(0, get.Output.size() - 5);
    EXPECT_NE(getHeaders.find("Content-Length: 5\r\n"), std::string::npos);
    // The HEAD answer is GET's header block alone; the next answer follows it directly.
    EXPECT_EQ(head.Output, getHeaders + get.Output);
}

// A header block marked so is held by the system until the next send: only one that a body
// follows at once may be, or the answer would wait.
TEST(RequestLoop, OnlyAHeaderBlockWithItsBodyRightBehindSaysMoreFollows) {
    auto answer = [](std::string body) {
        return ServiceSettings([body](TIdPeerThread*, TIdHTTPRequestInfo&, TIdHTTPResponseInfo& r) {
            ServiceAnswer(r, body);
        });
    };
    auto withBody = RunExchange("GET / HTTP/1.1\r\n\r\n", answer("hello"));
    EXPECT_EQ(withBody.SendCalls, 2);
    EXPECT_EQ(withBody.MoreFollowsSends, 1);
    EXPECT_EQ(RunExchange("GET / HTTP/1.1\r\n\r\n", answer("")).MoreFollowsSends, 0);
    EXPECT_EQ(RunExchange("HEAD / HTTP/1.1\r\n\r\n", answer("hello")).MoreFollowsSends, 0);
    // A handler that sends its header block itself writes its body later, if at all.
    auto own = RunExchange("GET / HTTP/1.1\r\n\r\n",
                           ServiceSettings([](TIdPeerThread*, TIdHTTPRequestInfo&,
                                              TIdHTTPResponseInfo& r) { r.SendHeaderBlock(); }));
    EXPECT_EQ(own.SendCalls, 1);
    EXPECT_EQ(own.MoreFollowsSends, 0);
}

TEST(RequestLoop, HandlerErrorsBecome500WithTheMessageAndKeepWhatTheHandlerSet) {
    int calls = 0;
    auto handler = [&](TIdPeerThread*, TIdHTTPRequestInfo&, TIdHTTPResponseInfo& response) {
        if (++calls == 1) {
            response.CustomHeaders.Add("X-Set:before");
            throw std::runtime_error("E");
        }
        if (calls == 2) {
            throw std::runtime_error("");
        }
        response.ResponseBody = "ok";
    };
    auto result = RunExchange("GET / HTTP/1.1\r\n\r\nGET / HTTP/1.1\r\n\r\nGET / HTTP/1.1\r\n\r\n",
                              ServiceSettings(handler));
    EXPECT_EQ(calls, 3);
    const std::string first = "HTTP/1.1 500 Internal Server Error\r\n"
                              "Connection: keep-alive\r\n"
                              "Content-Type: text/html\r\n"
                              "Content-Length: 1\r\n"
                              "X-Set:before\r\n"
                              "Server: Indy/9.00.10\r\n"
                              "\r\n"
                              "E";
    const std::string second = "HTTP/1.1 500 Internal Server Error\r\n"
                               "Connection: keep-alive\r\n"
                               "Content-Type: text/html\r\n"
                               "Content-Length: 0\r\n"
                               "Server: Indy/9.00.10\r\n"
                               "\r\n";
    ASSERT_EQ(result.Output.substr(0, first.size() + second.size()), first + second);
    EXPECT_EQ(result.Output.substr(first.size() + second.size(), 17), "HTTP/1.1 200 OK\r\n");
}

TEST(RequestLoop, OtherMethodsGetNoReplyAndTheirLinesAreReadAsRequestLines) {
    int calls = 0;
    auto handler = [&](TIdPeerThread*, TIdHTTPRequestInfo&, TIdHTTPResponseInfo&) { ++calls; };
    auto options = RunExchange(
        "OPTIONS / HTTP/1.1\r\nHost: 127.0.0.1\r\nAccess-Control-Request-Method: GET\r\n\r\n"
        "GET / HTTP/1.1\r\n\r\n",
        ServiceSettings(handler));
    EXPECT_EQ(options.Output, "");
    EXPECT_EQ(options.Error, "Error in parsing command.");
    EXPECT_FALSE(options.ConnectionOpen);
    EXPECT_EQ(calls, 0);

    auto stray = RunExchange("GET / HTTP/1.1\r\n\r\n\r\n", ServiceSettings(handler));
    EXPECT_EQ(stray.Output, kFaviconAnswer);
    EXPECT_EQ(stray.Error, "Error in parsing command.");

    auto noBlank = RunExchange("GET\r\n\r\n", ServiceSettings(handler));
    EXPECT_EQ(noBlank.Output, "");
    EXPECT_EQ(noBlank.Error, "Error in parsing command.");
}

TEST(RequestLoop, APreflightGoesToItsOwnHandlerAndAnyOtherOptionsClosesUnanswered) {
    std::vector<std::string> seen;
    auto settings = ServiceSettings([&](TIdPeerThread*, TIdHTTPRequestInfo& request,
                                        TIdHTTPResponseInfo&) { seen.push_back(request.Method); });
    settings.OnCommandPreflight = [&](TIdPeerThread*, TIdHTTPRequestInfo& request,
                                      TIdHTTPResponseInfo& response) {
        seen.push_back("preflight " + request.HeaderLines.Values("Origin"));
        response.SetResponseCode(204);
    };
    const std::string preflight =
        "OPTIONS / HTTP/1.1\r\nOrigin: http://a.test\r\nAccess-Control-Request-Method: GET\r\n\r\n";
    auto served = RunExchange(preflight + "GET /favicon.ico HTTP/1.1\r\n\r\n", settings);
    EXPECT_EQ(served.Output.rfind("HTTP/1.1 204 No Content\r\n", 0), 0u);
    EXPECT_EQ(served.Error, kClosed);
    EXPECT_EQ(seen, (std::vector<std::string>{"preflight http://a.test", "GET"}));

    seen.clear();
    auto other = RunExchange("OPTIONS / HTTP/1.1\r\nOrigin: http://a.test\r\n\r\n"
                             "GET / HTTP/1.1\r\n\r\n",
                             settings);
    EXPECT_EQ(other.Output, "");
    EXPECT_EQ(other.Error, "Error in parsing command.");
    EXPECT_FALSE(other.ConnectionOpen);
    EXPECT_TRUE(seen.empty());
}

TEST(RequestLoop, NoHandlerAssignedMeansNoReply) {
    auto result = RunExchange("GET / HTTP/1.1\r\n\r\n", zir::http::THttpLoopSettings{});
    EXPECT_EQ(result.Output, "");
    EXPECT_EQ(result.Error, "Error in parsing command.");
}

TEST(RequestLoop, QueryAndFormBodyParameters) {
    std::vector<TIdHTTPRequestInfo> seen;
    auto handler = [&](TIdPeerThread*, TIdHTTPRequestInfo& request, TIdHTTPResponseInfo&) {
        seen.push_back(request);
    };
    RunExchange("GET /?a=1&&b=2& HTTP/1.1\r\n\r\n"
                "POST /p?q=3&r=4 HTTP/1.1\r\nContent-Type: Application/X-WWW-Form-Urlencoded\r\n"
                "Content-Length: 7\r\n\r\nx=1&y=2"
                "POST /p?q=3 HTTP/1.1\r\nContent-Type: application/x-www-form-urlencoded; "
                "charset=utf-8\r\nContent-Length: 3\r\n\r\nx=1"
                "GET /?s=%41+%2B%00z%zzw%4 HTTP/1.1\r\n\r\n",
                ServiceSettings(handler));
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0].ParamList, (std::vector<std::string>{"a=1", "", "b=2", ""}));
    EXPECT_EQ(seen[1].BodyText, "x=1&y=2");
    EXPECT_EQ(seen[1].ParamText(), "x=1&y=2\r\nq=3&r=4");
    EXPECT_EQ(seen[1].ParamList, (std::vector<std::string>{"x=1", "y=2\r\nq=3", "r=4"}));
    EXPECT_EQ(seen[1].RequestPath, "/p");
    EXPECT_EQ(seen[2].ParamList, (std::vector<std::string>{"q=3"}));
    EXPECT_EQ(seen[3].ParamList, (std::vector<std::string>{std::string("s=A +zw\x04")}));
}

TEST(RequestLoop, HeaderLinesAndFields) {
    TIdHTTPRequestInfo seen;
    auto handler = [&](TIdPeerThread*, TIdHTTPRequestInfo& request, TIdHTTPResponseInfo&) {
        seen = request;
    };
    RunExchange("GET http://user:pw@example.test:8080/dir/a%20b.html HTTP/1.1\n"
                "..Dotted: yes\n"
                "X-Folded: one\n"
                "\t two  \n"
                "Expires: 99999999999\n"
                "Cookie: a=1; b=2\n"
                "Authorization: bAsIc dXNlcjpwOmFzcw==\n"
                "\n",
                ServiceSettings(handler));
    EXPECT_EQ(seen.HeaderLines[0], ".Dotted: yes");
    EXPECT_EQ(seen.HeaderLines.Values("x-folded"), "one two");
    EXPECT_EQ(seen.RequestPath, "/dir/a b.html");
    EXPECT_EQ(seen.Host, "example.test");
    EXPECT_EQ(seen.HeaderLines.Values("cookie"), "a=1; b=2");
    EXPECT_TRUE(seen.HasAuthorization);
    EXPECT_EQ(seen.Username, "user");
    EXPECT_EQ(seen.Password, "p:ass");
    EXPECT_EQ(seen.HeaderLines.Values("Expires"), "99999999999"); // as received, not a date
}

TEST(RequestLoop, FailuresCloseWithoutReplyAndTheHandlerIsNotCalled) {
    int calls = 0;
    auto handler = [&](TIdPeerThread*, TIdHTTPRequestInfo&, TIdHTTPResponseInfo& response) {
        ++calls;
        response.ResponseBody = "x";
    };
    struct Case {
        std::string Input;
        std::string Error;
    } cases[] = {
        {"GET / HTTP/1.1\r\nAuthorization: Digest abc\r\n\r\n",
         "Unsupported authorization scheme."},
        {"GET / HTTP/1.1\r\nAuthorization: Basic abcde\r\n\r\n", "Uneven size in DecodeToStream."},
        {"GET / HT", "Error in parsing command."},
        {"GET / HTTP/1.1\r\nHost: x\r\n", kClosed},
        {"POST / HTTP/1.1\r\nContent-Length: 10\r\n\r\n12345", kClosed},
        {"GET / HTTP/1.1\r\n" + std::string(16385, 'a') + "\r\n\r\n", "Max line length exceeded."},
    };
    for (const Case& c : cases) {
        auto result = RunExchange(c.Input, ServiceSettings(handler));
        EXPECT_EQ(result.Output, "") << c.Input.substr(0, 60);
        EXPECT_EQ(result.Error, c.Error) << c.Input.substr(0, 60);
        EXPECT_FALSE(result.ConnectionOpen);
    }
    EXPECT_EQ(calls, 0);
}

TEST(RequestLoop, PeerClosingInsideAHeaderLineOrAnUnsizedPostStillRunsTheHandler) {
    std::vector<std::string> bodies;
    auto handler = [&](TIdPeerThread*, TIdHTTPRequestInfo& request, TIdHTTPResponseInfo& response) {
        bodies.push_back(request.BodyText);
        response.ResponseBody = "x";
    };
    auto partial = RunExchange("GET / HTTP/1.1\r\nHost: x\r\nUser-Ag", ServiceSettings(handler));
    auto post = RunExchange("POST / HTTP/1.1\r\n\r\nbody until close", ServiceSettings(handler));
    EXPECT_EQ(bodies, (std::vector<std::string>{"", "body until close"}));
    EXPECT_EQ(partial.Output, "");
    EXPECT_EQ(partial.Error, kClosed);
    EXPECT_EQ(post.Output, "");
    EXPECT_EQ(post.Error, kClosed);
}

TEST(RequestLoop, BoundsOnHeaderLinesAndBodySize) {
    int calls = 0;
    auto handler = [&](TIdPeerThread*, TIdHTTPRequestInfo&, TIdHTTPResponseInfo&) { ++calls; };
    std::string hundred;
    for (int i = 0; i < 100; ++i) {
        hundred += "X-" + std::to_string(i) + ": v\r\n";
    }
    auto atLimit = RunExchange("GET / HTTP/1.1\r\n" + hundred + "\r\n", ServiceSettings(handler));
    EXPECT_EQ(atLimit.Output, kFaviconAnswer);
    auto over =
        RunExchange("GET / HTTP/1.1\r\n" + hundred + "X-100: v\r\n\r\n", ServiceSettings(handler));
    EXPECT_EQ(over.Output, "");
    EXPECT_FALSE(over.ConnectionOpen);
    EXPECT_EQ(calls, 1);

    const std::string tooLong = "HTTP/1.1 413 Request Entity To Long\r\n"
                                "Connection: close\r\n"
                                "Content-Type: text/html\r\n"
                                "Content-Length: 0\r\n"
                                "Server: Indy/9.00.10\r\n"
                                "\r\n";
    for (const char* length : {"1048577", "99999999999"}) {
        auto result =
            RunExchange(std::string("POST / HTTP/1.1\r\nContent-Length: ") + length + "\r\n\r\nabc",
                        ServiceSettings(handler));
        EXPECT_EQ(result.Output, tooLong) << length;
        EXPECT_EQ(result.Error, "");
        EXPECT_FALSE(result.ConnectionOpen);
    }
    auto unsized = RunExchange("POST / HTTP/1.1\r\n\r\n" + std::string(1024 * 1024 + 1, 'b'),
                               ServiceSettings(handler));
    EXPECT_EQ(unsized.Output, tooLong);
    auto exact = RunExchange("POST / HTTP/1.1\r\nContent-Length: 1048576\r\n\r\n" +
                                 std::string(1024 * 1024, 'b'),
                             ServiceSettings(handler));
    EXPECT_EQ(exact.Output, kFaviconAnswer);
    EXPECT_EQ(calls, 2);
}

TEST(RequestLoop, NotFoundAndCloseAfterResponseEndTheConnection) {
    auto handler = [](TIdPeerThread*, TIdHTTPRequestInfo&, TIdHTTPResponseInfo& response) {
        response.SetResponseCode(404);
        response.ResponseBody = "no";
    };
    auto result =
        RunExchange("GET / HTTP/1.1\r\n\r\nGET / HTTP/1.1\r\n\r\n", ServiceSettings(handler));
    EXPECT_EQ(result.Output, "HTTP/1.1 404 Not Found\r\n"
                             "Connection: close\r\n"
                             "Content-Type: text/html\r\n"
                             "Content-Length: 2\r\n"
                             "Server: Indy/9.00.10\r\n"
                             "\r\n"
                             "no");
    EXPECT_EQ(result.Error, "");
    EXPECT_FALSE(result.ConnectionOpen);
}

TEST(RequestLoop, BodiesBeyondTheSharedBudgetAre503AndEveryReservationIsGivenBack) {
    int calls = 0;
    auto handler = [&](TIdPeerThread*, TIdHTTPRequestInfo&, TIdHTTPResponseInfo&) { ++calls; };
    auto settings = ServiceSettings(handler);
    settings.BodyBudget = std::make_shared<zir::http::RequestBodyBudget>(1000);
    const std::string unavailable = "HTTP/1.1 503 Service Unavailable\r\n"
                                    "Connection: close\r\n"
                                    "Content-Type: text/html\r\n"
                                    "Content-Length: 0\r\n"
                                    "Server: Indy/9.00.10\r\n"
                                    "\r\n";

    // Another request holds 600 bytes of the budget meanwhile.
    zir::http::RequestBodyBudget::Reservation held;
    ASSERT_TRUE(settings.BodyBudget->Reserve(600, held));
    auto refused = RunExchange(
        "POST / HTTP/1.1\r\nContent-Length: 500\r\n\r\n" + std::string(500, 'b'), settings);
    EXPECT_EQ(refused.Output, unavailable);
    EXPECT_FALSE(refused.ConnectionOpen);
    // A form's decoded parameters count as much again: 2 x 250 does not fit either.
    auto form = RunExchange("POST / HTTP/1.1\r\nContent-Type: application/x-www-form-urlencoded\r\n"
                            "Content-Length: 250\r\n\r\n" +
                                std::string(250, 'f'),
                            settings);
    EXPECT_EQ(form.Output, unavailable);
    // An unsized body may grow to the largest one: refused while the budget is short of it.
    auto unsized = RunExchange("POST / HTTP/1.1\r\n\r\nabc", settings);
    EXPECT_EQ(unsized.Output, unavailable);
    // What fits is served, and requests without a body never touch the budget.
    auto fits = RunExchange("POST / HTTP/1.1\r\nContent-Length: 400\r\n\r\n" +
                                std::string(400, 'b') + "GET / HTTP/1.1\r\n\r\n",
                            settings);
    EXPECT_EQ(fits.Output, kFaviconAnswer + kFaviconAnswer);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(settings.BodyBudget->InUse(), 600u);

    held = {};
    EXPECT_EQ(settings.BodyBudget->InUse(), 0u);
    // A client that vanishes in the middle of its body gives its reservation back too.
    auto vanished = RunExchange("POST / HTTP/1.1\r\nContent-Length: 900\r\n\r\nabc", settings);
    EXPECT_EQ(vanished.Error, kClosed);
    EXPECT_EQ(settings.BodyBudget->InUse(), 0u);
}

TEST(RequestLoop, AHeaderBlockOfMoreThan64KiBClosesWithoutReply) {
    int calls = 0;
    auto handler = [&](TIdPeerThread*, TIdHTTPRequestInfo&, TIdHTTPResponseInfo&) { ++calls; };
    const std::string line(16000, 'v');
    std::string four, five;
    for (int i = 0; i < 4; ++i)
        four += "X-" + std::to_string(i) + ": " + line + "\r\n";
    five = four + "X-4: " + line + "\r\n";
    auto atLimit = RunExchange("GET / HTTP/1.1\r\n" + four + "\r\n", ServiceSettings(handler));
    EXPECT_EQ(atLimit.Output, kFaviconAnswer);
    auto over = RunExchange("GET / HTTP/1.1\r\n" + five + "\r\n", ServiceSettings(handler));
    EXPECT_EQ(over.Output, "");
    EXPECT_EQ(over.Error, "Header block too large.");
    EXPECT_FALSE(over.ConnectionOpen);
    EXPECT_EQ(calls, 1);
}
