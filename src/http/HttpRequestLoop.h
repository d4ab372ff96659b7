#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "http/RequestBodyBudget.h"
#include "http/TIdHTTPRequestInfo.h"
#include "http/TIdHTTPResponseInfo.h"
#include "http/TIdPeerThread.h"

namespace zir::http {

using TIdHTTPGetEvent =
    std::function<void(TIdPeerThread*, TIdHTTPRequestInfo&, TIdHTTPResponseInfo&)>;
// Method (upper-cased), request target, protocol version.
using TIdHTTPOtherEvent =
    std::function<void(TIdPeerThread*, const std::string&, const std::string&, const std::string&)>;

struct THttpLoopSettings {
    bool KeepAlive = true;
    bool ParseParams = true;
    TIdHTTPGetEvent OnCommandGet;
    TIdHTTPOtherEvent OnCommandOther;
    // A browser's preflight (OPTIONS with Origin and Access-Control-Request-Method), read whole
    // like a GET and answered here. Set, every other OPTIONS is read whole too and closes the
    // connection without a reply, as its header block's empty line always did; unset, OPTIONS
    // goes to OnCommandOther like every other method.
    TIdHTTPGetEvent OnCommandPreflight;
    // Bounds against unbounded input: more header lines close without reply; a larger body is
    // answered 413 and the connection closed.
    std::size_t MaxHeaderLines = 100;
    // The header block's bytes: a flood of long lines would hold up to 1.6 MB per connection.
    // More closes without reply, as too many lines do.
    std::size_t MaxHeaderBytes = 64 * 1024;
    std::size_t MaxBodySize = 1024 * 1024;
    // Shared by all connections: what bodies in flight may hold together. A body that does not
    // fit is answered 503 with an empty body, and the connection closed. None: no bound.
    std::shared_ptr<RequestBodyBudget> BodyBudget;
};

// Serves requests on the thread's connection until it closes. Returns after closing the
// connection, or raises the error that ended it (the connection is then closed too).
void RunHttpRequestLoop(TIdPeerThread& thread, const THttpLoopSettings& settings);

} // namespace zir::http
