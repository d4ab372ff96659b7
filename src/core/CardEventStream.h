#pragma once

// GET /events: a Server-Sent Events stream of the card on the reader. "card" (the UID
// document) when a card lies there or another one replaces it, "removed" ({}) when it goes,
// and with ?read=1 a "document" (the full read GET / would answer) after each "card".

#include "core/CardWatcher.h"
#include "core/OriginCheck.h"
#include "http/TIdHTTPRequestInfo.h"
#include "http/TIdHTTPResponseInfo.h"
#include "http/TIdPeerThread.h"

#include <chrono>
#include <functional>
#include <string>

namespace zir::core {

struct CardEventStreamSettings {
    // An idle stream sends a comment this often; a client that has gone is noticed then.
    std::chrono::milliseconds KeepAlive{15000};
    // The full read behind a "document" event.
    std::function<std::string()> ReadDocument;
};

// The exact path, GET only: every other request keeps its old meaning.
bool IsCardEventStreamRequest(const http::TIdHTTPRequestInfo& request);

// Serves the stream on the worker's connection until the client goes, the server stops or the
// watcher is closed; the connection then closes. No room in the watcher: 503 with an empty
// body. Both carry the cross-origin lines of origin, an allowed request's decision. Never
// throws: a failed write only ends the stream.
void ServeCardEventStream(http::TIdPeerThread& thread, const http::TIdHTTPRequestInfo& request,
                          http::TIdHTTPResponseInfo& response, CardWatcher& watcher,
                          const CardEventStreamSettings& settings, const TOriginDecision& origin);

} // namespace zir::core
