#include "core/CardEventStream.h"

#include "core/EventStreamText.h"
#include "core/LogFormat.h"
#include "core/ServiceLog.h"
#include "http/ParamDecoding.h"

#include <algorithm>
#include <string_view>

namespace zir::core {

namespace {

using Clock = std::chrono::steady_clock;

// How late a stream may notice its worker's stop (when no close of the watcher told it) or its
// client's leaving.
constexpr std::chrono::milliseconds kStopCheck{200};

void LogStreamLine(std::string_view pattern, const std::string& peer, CardWatcher& watcher) {
    LogServiceLine(FormatLogLine(pattern, {peer, std::to_string(watcher.Subscribers())}));
}

void Stream(http::TIdPeerThread& thread, CardWatcher::Subscription& subscription,
            bool withDocuments, const CardEventStreamSettings& settings) {
    http::TIdTCPConnection& connection = thread.Connection();
    CardPresence card;
    Clock::time_point nextKeepAlive = Clock::now() + settings.KeepAlive;
    while (!thread.Stopped()) {
        // An event-stream client says nothing after its request: input here is its close,
        // noticed now rather than at the next write.
        if (connection.InputPending())
            return;
        auto until = std::min(nextKeepAlive, Clock::now() + kStopCheck);
        switch (subscription.WaitForChange(until, card)) {
        case CardWatcher::Wait::Closed:
            return;
        case CardWatcher::Wait::TimedOut:
            if (Clock::now() < nextKeepAlive)
                continue;
            connection.Write(kEventStreamKeepAlive);
            break;
        case CardWatcher::Wait::Changed:
            if (!card.Present) {
                connection.Write(EventStreamEvent("removed", "{}"));
                break;
            }
            // The UID goes out before the slow full read, so a page can show it at once.
            connection.Write(EventStreamEvent("card", card.UidDocument));
            if (withDocuments && settings.ReadDocument)
                connection.Write(EventStreamEvent("document", settings.ReadDocument()));
            break;
        }
        nextKeepAlive = Clock::now() + settings.KeepAlive;
    }
}

} // namespace

bool IsCardEventStreamRequest(const http::TIdHTTPRequestInfo& request) {
    return request.Method == "GET" && request.RequestPath == "/events";
}

void ServeCardEventStream(http::TIdPeerThread& thread, const http::TIdHTTPRequestInfo& request,
                          http::TIdHTTPResponseInfo& response, CardWatcher& watcher,
                          const CardEventStreamSettings& settings, const TOriginDecision& origin) {
    const std::string peer =
        request.PeerAddress + ":" + std::to_string(thread.Connection().PeerPort());
    response.SetCloseAfterResponse(true);
    auto subscription = watcher.Subscribe();
    if (subscription) {
        response.ContentType = "text/event-stream";
        response.OpenEndedBody = true;
        response.CustomHeaders.Add(origin.NoStore ? "Cache-Control: no-cache, no-store"
                                                  : "Cache-Control: no-cache");
    } else {
        response.SetResponseCode(503);
        response.ContentLength = 0;
    }
    AddAccessControlHeaders(response, origin);
    if (!subscription) {
        LogStreamLine("##EVENTS REFUSED --> [%s; OPEN: %s]", peer, watcher);
        return;
    }
    const bool withDocuments = http::FindParam(request.ParamList, "read") == "1";
    LogStreamLine(withDocuments ? "##EVENTS OPEN --> [%s; READ: 1; OPEN: %s]"
                                : "##EVENTS OPEN --> [%s; OPEN: %s]",
                  peer, watcher);
    try {
        response.SendHeaderBlock();
        Stream(thread, *subscription, withDocuments, settings);
    } catch (...) {
        // The client has gone, or the server's stop closed the connection: the stream ends.
    }
    subscription.reset();
    LogStreamLine("##EVENTS CLOSE --> [%s; OPEN: %s]", peer, watcher);
}

} // namespace zir::core
