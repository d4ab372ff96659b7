// Cost of serving a typical card request: parsing it and writing the answer, over the
// in-memory connection (no sockets), and one kept-alive round trip over loopback.

#include <benchmark/benchmark.h>

#include <string>

#include "http/HttpRequestLoop.h"
#include "http/TIdHTTPServer.h"
#include "http/TIdIOHandlerMemory.h"
#include "platform/Sockets.h"

using namespace zir::http;

namespace {

const std::string kRequest = "GET /?type=UID HTTP/1.1\r\n"
                             "Host: 127.0.0.1:8080\r\n"
                             "Connection: keep-alive\r\n"
                             "User-Agent: Mozilla/5.0 (Windows NT 10.0; Win64; x64)\r\n"
                             "Accept: */*\r\n"
                             "Origin: http://localhost\r\n"
                             "Referer: http://localhost/page.html\r\n"
                             "Accept-Encoding: gzip, deflate, br\r\n"
                             "Accept-Language: zh-CN,zh;q=0.9\r\n"
                             "\r\n";

const std::string kBody = "{\"code\":0,\"uid\":\"0123456789ABCDEF\",\"type\":\"16\"}";

void Answer(TIdPeerThread*, TIdHTTPRequestInfo& request, TIdHTTPResponseInfo& response) {
    benchmark::DoNotOptimize(request.Param("type"));
    response.ContentType = "application/json";
    response.ContentEncoding = "utf-8";
    response.CustomHeaders.Add("Access-Control-Allow-Origin:*");
    response.CustomHeaders.Add("Access-Control-Allow-Headers:*");
    response.CustomHeaders.Add("Access-Control-Allow-Method:*");
    response.ResponseBody = kBody;
}

void BM_ParseAndAnswerGetInMemory(benchmark::State& state) {
    const auto requests = static_cast<int>(state.range(0));
    std::string input;
    for (int i = 0; i < requests; ++i) {
        input += kRequest;
    }
    THttpLoopSettings settings;
    settings.KeepAlive = true;
    settings.OnCommandGet = Answer;
    for (auto _ : state) {
        TIdPeerThread thread(
            std::make_unique<TIdTCPConnection>(std::make_unique<TIdIOHandlerMemory>(input)));
        try {
            RunHttpRequestLoop(thread, settings);
        } catch (const std::exception&) {
            // the peer's end after the last request
        }
    }
    state.SetItemsProcessed(state.iterations() * requests);
}
BENCHMARK(BM_ParseAndAnswerGetInMemory)->Arg(1)->Arg(100);

// One request and its answer on a kept-alive loopback connection.
void BM_LoopbackKeepAliveRoundTrip(benchmark::State& state) {
    using namespace zir::platform;
    TIdHTTPServer server;
    server.KeepAlive = true;
    server.OnCommandGet = Answer;
    server.SetDefaultPort(0);
    server.Bindings().Add().IP = "127.0.0.1";
    server.SetActive(true);
    SocketHandle client = SocketCreateTcp();
    if (!SocketConnect(client, "127.0.0.1",
                       static_cast<std::uint16_t>(server.Bindings()[0].Port))) {
        state.SkipWithError("connect failed");
        return;
    }
    char buffer[4096];
    for (auto _ : state) {
        SocketSend(client, kRequest.data(), kRequest.size());
        // The answer ends with the body.
        std::string answer;
        while (answer.size() < kBody.size() ||
               answer.compare(answer.size() - kBody.size(), kBody.size(), kBody) != 0) {
            std::ptrdiff_t got = SocketReceive(client, buffer, sizeof buffer);
            if (got <= 0) {
                state.SkipWithError("connection closed");
                break;
            }
            answer.append(buffer, static_cast<std::size_t>(got));
        }
    }
    SocketClose(client);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LoopbackKeepAliveRoundTrip)->UseRealTime();

} // namespace
