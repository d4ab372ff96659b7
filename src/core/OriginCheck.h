#pragma once

// Which requests may read the card, by the WebOrigins setting: the decision and the
// access-control lines that follow from it. Every endpoint that touches the reader asks here
// before it does, and writes its lines from the same decision.

#include "config/WebOrigins.h"
#include "http/TIdHTTPRequestInfo.h"
#include "http/TIdHTTPResponseInfo.h"

#include <string>
#include <string_view>

namespace zir::core {

struct TOriginDecision {
    bool Allowed = true;
    std::string LogLine;           // refused: the service-log line naming the origin or host
    std::string AllowOrigin = "*"; // allowed: the Access-Control-Allow-Origin value
    bool VaryOrigin = false;       // allowed: the answer depends on Origin ("Vary: Origin")
    bool NoStore = false;          // a list is in effect: card answers are kept in no browser cache
};

// The rules applied to a request's Origin and Host header values ("" when absent). Every origin
// is allowed when no list is set. With a list, a request without Origin (a program, not a
// browser's cross-origin request) is served as always; a browser's is served only when its
// origin is listed, and then answered for that origin alone. With a list the Host must name
// this machine's loopback service (127.0.0.1 or localhost, any port), so that a site that points
// a name of its own at 127.0.0.1 cannot pass for a page of this machine; no Host is a program's
// request too.
TOriginDecision DecideOrigin(std::string_view origin, std::string_view host,
                             const config::TWebOrigins& rules);

// The same, with the request's Sec-Fetch-Site value ("" when absent). With a list, a request
// without Origin that the browser marks "cross-site" (an <img>, a frame, a link or a navigation
// from another site's page) is refused like an unlisted origin: only programs, which send
// neither, and the browser's own and same-site requests are served without Origin.
TOriginDecision DecideOrigin(std::string_view origin, std::string_view host,
                             std::string_view fetchSite, const config::TWebOrigins& rules);

// The same for a request.
TOriginDecision DecideOrigin(const http::TIdHTTPRequestInfo& request,
                             const config::TWebOrigins& rules);

// The cross-origin lines of an allowed answer: without a list the lines the service always
// sent, any page may read it; with one, the request's origin in place of "*" and "Vary: Origin".
void AddAccessControlHeaders(http::TIdHTTPResponseInfo& response, const TOriginDecision& decision);

// The head lines of a JSON answer beside its type: the cross-origin lines and, under a list,
// "Cache-Control: no-store" (card answers and the status alike).
void AddJsonAnswerHeaders(http::TIdHTTPResponseInfo& response, const TOriginDecision& decision);

// A refused request's answer: "403 Forbidden" with an empty body, the connection kept.
void AnswerRefused(http::TIdHTTPResponseInfo& response);

} // namespace zir::core
