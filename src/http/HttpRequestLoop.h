#pragma once

#include <cstddef>
#include <functional>
#include <string>

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
    // Bounds against unbounded input: more header lines close without reply; a larger body is
    // answered 413 and the connection closed.
    std::size_t MaxHeaderLines = 100;
    std::size_t MaxBodySize = 1024 * 1024;
};

// Serves requests on the thread's connection until it closes. Returns after closing the
// connection, or raises the error that ended it (the connection is then closed too).
void RunHttpRequestLoop(TIdPeerThread& thread, const THttpLoopSettings& settings);

} // namespace zir::http
