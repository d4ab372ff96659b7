#pragma once

// Requests as a browser sends them (a Host line, an Origin line, the Sec-Fetch-Site line), and
// the service's refusal of a page that WebOrigins does not let in.

#include "RawHttpClient.h"

#include <stdexcept>
#include <string>

namespace zir::test {

inline const std::string kRefusedAnswer = "HTTP/1.1 403 Forbidden\r\n"
                                          "Connection: keep-alive\r\n"
                                          "Content-Type: text/html\r\n"
                                          "Content-Length: 0\r\n"
                                          "Server: Indy/9.00.10\r\n"
                                          "\r\n";

// Its Host line, an Origin line unless origin is empty, and any extra header lines (each with
// its CR LF).
inline std::string BrowserRequest(const std::string& method, const std::string& target,
                                  const std::string& host, const std::string& origin,
                                  const std::string& extraHeaders = "") {
    return method + " " + target + " HTTP/1.1\r\nHost: " + host + "\r\n" +
           (origin.empty() ? "" : "Origin: " + origin + "\r\n") + extraHeaders +
           (method == "POST" ? "Content-Length: 0\r\n" : "") + "\r\n";
}

inline RawResponse Ask(RawHttpClient& client, const std::string& request) {
    client.Send(request);
    auto response = client.ReadResponse();
    if (!response)
        throw std::runtime_error("no answer to " + request);
    return *response;
}

inline RawResponse AskOnce(int port, const std::string& request) {
    RawHttpClient client(port);
    return Ask(client, request);
}

} // namespace zir::test
