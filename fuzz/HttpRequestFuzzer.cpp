// Arbitrary bytes as a client's side of a connection, through the whole request loop over the
// in-memory transport. The first byte picks how the bytes arrive and how the handler answers.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "http/HttpRequestLoop.h"
#include "http/TIdIOHandlerMemory.h"

using namespace zir::http;

namespace {

void Handler(std::uint8_t mode, TIdHTTPRequestInfo& request, TIdHTTPResponseInfo& response) {
    // Touch what a real handler reads.
    bool found = false;
    std::string type = request.Param("type", &found);
    std::string answer = request.RequestPath + "|" + type + "|" + request.Host + "|" +
                         request.Username + "|" + std::to_string(request.ParamList.size());
    switch (mode % 6) {
    case 0:
        response.ContentType = "application/json";
        response.ContentEncoding = "utf-8";
        response.CustomHeaders.Add("Access-Control-Allow-Origin:*");
        response.ResponseBody = answer;
        break;
    case 1:
        break; // empty answer
    case 2:
        throw std::runtime_error(answer);
    case 3:
        response.SetResponseCode(static_cast<std::int32_t>(request.BodyText.size() % 600));
        response.CustomHeaders.Add(request.QueryString);
        response.ResponseStream = request.BodyText;
        break;
    case 4:
        response.SendHeaderBlock();
        response.ResponseBody = answer;
        break;
    default:
        response.SetCloseAfterResponse(found);
        response.Location = type;
        response.ResponseBody = request.HeaderLines.Values(type);
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    std::uint8_t mode = data[0];
    std::size_t chunk = (mode & 0x80) != 0 ? 32768 : 1 + (mode & 0x0F) * 3;
    std::string input(reinterpret_cast<const char*>(data + 1), size - 1);

    THttpLoopSettings settings;
    settings.KeepAlive = (mode & 0x40) == 0;
    settings.OnCommandGet = [mode](TIdPeerThread*, TIdHTTPRequestInfo& request,
                                   TIdHTTPResponseInfo& response) {
        Handler(static_cast<std::uint8_t>(mode >> 4), request, response);
    };
    // As the service runs: preflights are read whole and answered.
    settings.OnCommandPreflight = settings.OnCommandGet;
    TIdPeerThread thread(std::make_unique<TIdTCPConnection>(
        std::make_unique<TIdIOHandlerMemory>(std::move(input), chunk)));
    try {
        RunHttpRequestLoop(thread, settings);
    } catch (const std::exception&) {
        // Errors end a connection; that is a normal outcome here.
    }
    return 0;
}
