#include "core/OriginCheck.h"

#include "platform/Text.h"

namespace zir::core {

namespace {

// "127.0.0.1" or "localhost" (any case), with or without ":port".
bool IsLoopbackHost(std::string_view host) {
    const size_t colon = host.find(':');
    if (colon != std::string_view::npos && !config::PortNumber(host.substr(colon + 1)))
        return false;
    const std::string_view name = host.substr(0, colon);
    return name == "127.0.0.1" || platform::EqualsIgnoringAsciiCase(name, "localhost");
}

TOriginDecision Refuse(std::string_view what, std::string_view value, const std::string& why) {
    TOriginDecision decision;
    decision.Allowed = false;
    decision.LogLine = "##REQUEST REFUSED --> [" + std::string(what) + ": " + std::string(value);
    if (!why.empty())
        decision.LogLine += "; " + why;
    decision.LogLine += "]";
    return decision;
}

} // namespace

TOriginDecision DecideOrigin(std::string_view origin, std::string_view host,
                             const config::TWebOrigins& rules) {
    return DecideOrigin(origin, host, "", rules);
}

TOriginDecision DecideOrigin(std::string_view origin, std::string_view host,
                             std::string_view fetchSite, const config::TWebOrigins& rules) {
    TOriginDecision decision;
    if (rules.AnyOrigin)
        return decision;
    decision.NoStore = true;
    if (!host.empty() && !IsLoopbackHost(host))
        return Refuse("HOST", host, "not 127.0.0.1 or localhost");
    if (origin.empty()) {
        fetchSite = platform::TrimBlanksAndControls(fetchSite);
        if (platform::EqualsIgnoringAsciiCase(fetchSite, "cross-site"))
            return Refuse("SEC-FETCH-SITE", fetchSite, "a page of another site, without Origin");
        return decision;
    }
    if (!rules.Allows(origin))
        return Refuse("ORIGIN", origin, rules.Error.empty() ? "not in WebOrigins" : rules.Error);
    decision.AllowOrigin = origin;
    decision.VaryOrigin = true;
    return decision;
}

TOriginDecision DecideOrigin(const http::TIdHTTPRequestInfo& request,
                             const config::TWebOrigins& rules) {
    return DecideOrigin(request.HeaderLines.Values("Origin"), request.Host,
                        request.HeaderLines.Values("Sec-Fetch-Site"), rules);
}

void AddAccessControlHeaders(http::TIdHTTPResponseInfo& response, const TOriginDecision& decision) {
    response.CustomHeaders.Add("Access-Control-Allow-Origin:" + decision.AllowOrigin);
    response.CustomHeaders.Add("Access-Control-Allow-Headers:*");
    response.CustomHeaders.Add("Access-Control-Allow-Method:*");
    if (decision.VaryOrigin)
        response.CustomHeaders.Add("Vary: Origin");
}

void AddJsonAnswerHeaders(http::TIdHTTPResponseInfo& response, const TOriginDecision& decision) {
    AddAccessControlHeaders(response, decision);
    if (decision.NoStore)
        response.CustomHeaders.Add("Cache-Control: no-store");
}

void AnswerRefused(http::TIdHTTPResponseInfo& response) {
    response.SetResponseCode(403);
    response.ContentLength = 0;
    response.ResponseBody.clear();
}

} // namespace zir::core
