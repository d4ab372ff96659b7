#include "core/ServiceStatus.h"

#include "core/JsonText.h"

namespace zir::core {

bool IsServiceStatusRequest(const http::TIdHTTPRequestInfo& request) {
    return (request.Method == "GET" || request.Method == "HEAD") &&
           request.RequestPath == "/status";
}

std::string ServiceStatusDocument(const TReaderBinding& reader) {
    const char* simulated = reader.Simulated ? "true" : "false";
    if (reader.Missing.empty())
        return JsonObject({{"statusCode", "200"},
                           {"version", ZIR_VERSION},
                           {"reader", "ready"},
                           {"simulated", simulated}});
    return JsonObject({{"statusCode", "200"},
                       {"version", ZIR_VERSION},
                       {"reader", "missing"},
                       {"missing", reader.Missing},
                       {"simulated", simulated}});
}

void AnswerServiceStatus(http::TIdHTTPResponseInfo& response, const TOriginDecision& origin,
                         const TReaderBinding& reader) {
    response.ContentType = "application/json";
    response.ContentEncoding = "utf-8";
    AddJsonAnswerHeaders(response, origin);
    response.ResponseBody = ServiceStatusDocument(reader);
}

} // namespace zir::core
