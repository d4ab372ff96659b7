#pragma once

// GET /status: whether zir runs, which version, and what it has bound as its reader, without a
// reader call or the card-operation lock, so that it answers at once even during a slow read
// and a page may poll it. It writes no log line.

#include "core/CardOperations.h"
#include "core/OriginCheck.h"
#include "http/TIdHTTPRequestInfo.h"
#include "http/TIdHTTPResponseInfo.h"

#include <string>

namespace zir::core {

// The exact path, GET or HEAD: every other request keeps its old meaning.
bool IsServiceStatusRequest(const http::TIdHTTPRequestInfo& request);

// {"statusCode":"200","version":"…","reader":"ready"|"missing",["missing":"…",]"simulated":
// "true"|"false"}; "missing" names the library file or function as a read's log line does.
std::string ServiceStatusDocument(const TReaderBinding& reader);

// The document with the head of a card answer and the cross-origin lines of origin.
void AnswerServiceStatus(http::TIdHTTPResponseInfo& response, const TOriginDecision& origin,
                         const TReaderBinding& reader);

} // namespace zir::core
