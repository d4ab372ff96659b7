#include "MemoryExchange.h"

#include "http/TIdIOHandlerMemory.h"

namespace zir::test {

TExchange RunExchange(const std::string& input, const http::THttpLoopSettings& settings,
                      std::size_t chunkSize) {
    auto io = std::make_unique<http::TIdIOHandlerMemory>(input, chunkSize);
    http::TIdIOHandlerMemory* memory = io.get();
    http::TIdPeerThread thread(std::make_unique<http::TIdTCPConnection>(std::move(io)));
    TExchange result;
    try {
        http::RunHttpRequestLoop(thread, settings);
    } catch (const std::exception& error) {
        result.Error = error.what();
    }
    result.Output = memory->Output();
    result.SendCalls = memory->SendCalls();
    result.MoreFollowsSends = memory->MoreFollowsSends();
    result.ConnectionOpen = memory->Connected();
    return result;
}

http::THttpLoopSettings ServiceSettings(http::TIdHTTPGetEvent handler) {
    http::THttpLoopSettings settings;
    settings.KeepAlive = true;
    settings.OnCommandGet = std::move(handler);
    return settings;
}

} // namespace zir::test
