#include "http/TIdHTTPServer.h"

namespace zir::http {

TIdHTTPServer::~TIdHTTPServer() {
    StopForDestruction();
}

std::function<void(TIdPeerThread&)> TIdHTTPServer::MakeExecutor() {
    // A copy: workers never look at the server object, which may be gone before they end.
    THttpLoopSettings settings;
    settings.KeepAlive = KeepAlive;
    settings.ParseParams = ParseParams;
    settings.OnCommandGet = OnCommandGet;
    settings.OnCommandOther = OnCommandOther;
    settings.OnCommandPreflight = OnCommandPreflight;
    settings.BodyBudget = std::make_shared<RequestBodyBudget>(MaxBodyBytesInFlight);
    return [settings](TIdPeerThread& thread) { RunHttpRequestLoop(thread, settings); };
}

} // namespace zir::http
