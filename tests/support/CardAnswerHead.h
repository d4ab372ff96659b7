#pragma once

// The head of a card answer as the service writes it, to the byte: the cross-origin lines it has
// always sent, or, for an origin that WebOrigins lists, that origin and "Vary: Origin". Under a
// list (listed: any origin but "*" implies one) the answer is kept in no cache.

#include <cstddef>
#include <string>

namespace zir::test {

inline std::string CardAnswerHead(size_t bodyLength, const std::string& allowOrigin = "*",
                                  bool listed = false) {
    listed = listed || allowOrigin != "*";
    return "HTTP/1.1 200 OK\r\n"
           "Connection: keep-alive\r\n"
           "Content-Encoding: utf-8\r\n"
           "Content-Type: application/json\r\n"
           "Content-Length: " +
           std::to_string(bodyLength) +
           "\r\n"
           "Access-Control-Allow-Origin:" +
           allowOrigin +
           "\r\n"
           "Access-Control-Allow-Headers:*\r\n"
           "Access-Control-Allow-Method:*\r\n" +
           (allowOrigin == "*" ? "" : "Vary: Origin\r\n") +
           (listed ? "Cache-Control: no-store\r\n" : "") +
           "Server: Indy/9.00.10\r\n"
           "\r\n";
}

} // namespace zir::test
