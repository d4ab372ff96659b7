#include "core/PreflightAnswer.h"

#include "core/OriginCheck.h"
#include "core/ServiceLog.h"
#include "platform/Text.h"

#include <string>
#include <string_view>

namespace zir::core {

namespace {

// Header names separated by commas and blanks: nothing else is echoed back, so a raw client
// cannot smuggle a line of its own into the answer.
bool IsHeaderNameList(std::string_view text) {
    constexpr std::string_view kAllowed = "!#$%&'*+-.^_`|~, \t";
    for (const char c : text) {
        const bool alphanumeric =
            (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (!alphanumeric && kAllowed.find(c) == std::string_view::npos)
            return false;
    }
    return true;
}

} // namespace

void AnswerPreflight(const http::TIdHTTPRequestInfo& request, http::TIdHTTPResponseInfo& response,
                     const config::TWebOrigins& rules) {
    const TOriginDecision origin = DecideOrigin(request, rules);
    if (!origin.Allowed) {
        LogServiceLine(origin.LogLine);
        AnswerRefused(response);
        return;
    }
    response.SetResponseCode(204);
    response.ContentLength = 0;
    response.ContentType.clear(); // no body, so no kind of body
    http::TIdHeaderList& lines = response.CustomHeaders;
    lines.Add("Access-Control-Allow-Origin: " + origin.AllowOrigin);
    lines.Add("Access-Control-Allow-Methods: GET, POST, HEAD");
    // Echoed rather than "*", which does not cover Authorization.
    const std::string headers = request.HeaderLines.Values("Access-Control-Request-Headers");
    if (!headers.empty() && IsHeaderNameList(headers))
        lines.Add("Access-Control-Allow-Headers: " + headers);
    lines.Add("Access-Control-Max-Age: 600");
    // A public page's request to this machine (Private Network Access).
    if (platform::EqualsIgnoringAsciiCase(
            request.HeaderLines.Values("Access-Control-Request-Private-Network"), "true"))
        lines.Add("Access-Control-Allow-Private-Network: true");
    if (origin.VaryOrigin)
        lines.Add("Vary: Origin");
}

} // namespace zir::core
