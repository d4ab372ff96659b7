#pragma once

// Runs the request loop over an in-memory connection: the client's bytes in, what the server
// wrote out, and how the loop ended.

#include <string>

#include "http/HttpRequestLoop.h"

namespace zir::test {

struct TExchange {
    std::string Output;
    std::string Error; // message of the error that ended the loop; empty when it returned
    bool ConnectionOpen = false;
    int SendCalls = 0;
    int MoreFollowsSends = 0; // sends that said the next one comes at once
};

TExchange RunExchange(const std::string& input, const http::THttpLoopSettings& settings,
                      std::size_t chunkSize = 32768);

// Settings with KeepAlive on, as this service runs, and the given handler.
http::THttpLoopSettings ServiceSettings(http::TIdHTTPGetEvent handler);

} // namespace zir::test
