#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "http/TIdHeaderList.h"

namespace zir::http {

// One request as the handler sees it. Texts are the bytes as received (decoded where stated).
class TIdHTTPRequestInfo {
  public:
    std::string RequestLine;            // as read, without its line end
    std::string Method;                 // upper-cased
    std::string ProtocolVersion;        // after the last blank of the request line
    std::string Target;                 // the raw request target
    std::string RequestPath;            // decoded path of the target
    std::string QueryString;            // raw text after the first "?"
    std::string BodyText;               // the request body (BodyStream's bytes), its one copy
    std::vector<std::string> ParamList; // decoded "name=value" pieces, in order
    std::string PeerAddress;
    // Every other header is looked up here when needed (HeaderLines.Values).
    TIdHeaderList HeaderLines;

    // What the request loop itself needs: the body's form and size, and the host (from the
    // target when it names one and the Host header is missing).
    std::string ContentType;
    std::int32_t ContentLength = -1;
    std::string Host;

    bool HasAuthorization = false;
    std::string Username;
    std::string Password;

    // BodyText, extended by CR LF and the query string when both are there. Built when asked
    // for: the body is held once, not again as parameter text.
    std::string ParamText() const;

    // The value of the first ParamList entry whose name (text before its first "=") equals
    // name ignoring case; entries without "=" match nothing. Found tells whether one matched.
    std::string Param(std::string_view name, bool* found = nullptr) const;
};

} // namespace zir::http
