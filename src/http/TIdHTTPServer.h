#pragma once

#include <string>

#include "http/HttpRequestLoop.h"
#include "http/TIdTCPServer.h"

namespace zir::http {

// The HTTP server: every worker runs the request loop with these settings, taken at start.
class TIdHTTPServer : public TIdTCPServer {
  public:
    TIdHTTPServer() { SetDefaultPort(80); }
    ~TIdHTTPServer() override;

    bool KeepAlive = false; // this service sets it true
    bool ParseParams = true;
    // What the bodies of all requests in flight may hold together (see THttpLoopSettings).
    std::size_t MaxBodyBytesInFlight = 64 * 1024 * 1024;
    std::string ServerSoftware;
    TIdHTTPGetEvent OnCommandGet;
    TIdHTTPOtherEvent OnCommandOther;
    TIdHTTPGetEvent OnCommandPreflight; // see THttpLoopSettings

  protected:
    std::function<void(TIdPeerThread&)> MakeExecutor() override;
};

} // namespace zir::http
