#pragma once

// A preflight's answer as the service writes it, to the byte: "*" or the listed origin (then
// with "Vary: Origin"), the echoed header names, and the private-network line when asked for.

#include <string>

namespace zir::test {

inline std::string PreflightAnswerHead(const std::string& allowOrigin = "*",
                                       const std::string& allowHeaders = "",
                                       bool privateNetwork = false) {
    return "HTTP/1.1 204 No Content\r\n"
           "Connection: keep-alive\r\n"
           "Content-Length: 0\r\n"
           "Access-Control-Allow-Origin: " +
           allowOrigin +
           "\r\n"
           "Access-Control-Allow-Methods: GET, POST, HEAD\r\n" +
           (allowHeaders.empty() ? "" : "Access-Control-Allow-Headers: " + allowHeaders + "\r\n") +
           "Access-Control-Max-Age: 600\r\n" +
           (privateNetwork ? "Access-Control-Allow-Private-Network: true\r\n" : "") +
           (allowOrigin == "*" ? "" : "Vary: Origin\r\n") +
           "Server: Indy/9.00.10\r\n"
           "\r\n";
}

} // namespace zir::test
