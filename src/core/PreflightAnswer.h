#pragma once

// A browser's preflight (OPTIONS before a request with a custom header or a JSON body): the
// origin rules of every card request decide, and an allowed one is told which methods and
// headers it may use. No reader call, and no log line unless the origin is refused.

#include "config/WebOrigins.h"
#include "http/TIdHTTPRequestInfo.h"
#include "http/TIdHTTPResponseInfo.h"

namespace zir::core {

// "204 No Content" with the permissions, or the refused request's 403 (logged).
// The origin rules are the request's (see TRequestSettings).
void AnswerPreflight(const http::TIdHTTPRequestInfo& request, http::TIdHTTPResponseInfo& response,
                     const config::TWebOrigins& rules);

} // namespace zir::core
