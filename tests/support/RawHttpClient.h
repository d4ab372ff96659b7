#pragma once

// A plain TCP client for loopback tests: sends exact bytes and reads exact answers, so a test
// sees every byte the service writes.

#include "LoopbackClient.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace zir::test {

struct RawResponse {
    std::string Head; // status line and header lines, each with CR LF, and the empty line
    std::string StatusLine;
    std::vector<std::string> HeaderLines;
    std::string Body;
    std::string Raw() const { return Head + Body; }
    std::string Header(const std::string& name) const; // first value, "" when absent
};

class RawHttpClient {
  public:
    // Connects to address:port; throws std::runtime_error when the connection is refused.
    RawHttpClient(int port, const std::string& address = "127.0.0.1");
    RawHttpClient(const RawHttpClient&) = delete;
    RawHttpClient& operator=(const RawHttpClient&) = delete;

    void Send(const std::string& bytes);
    // One response: the head up to the empty line, then Content-Length bytes of body (none
    // without a Content-Length, or when headOnly). Nullopt when the connection closed or
    // nothing came within the time-out.
    std::optional<RawResponse>
    ReadResponse(bool headOnly = false,
                 std::chrono::milliseconds timeout = std::chrono::seconds(20));
    // True when the server closed the connection within the time-out (no bytes arrived).
    bool ClosedByPeer(std::chrono::milliseconds timeout = std::chrono::seconds(5));
    // Whatever arrives within the time-out (or until the peer closes).
    std::string ReadAvailable(std::chrono::milliseconds timeout);

    // Connects and returns whether the connection was accepted.
    static bool CanConnect(int port, const std::string& address);

  private:
    bool Fill(std::chrono::steady_clock::time_point deadline);
    LoopbackClient client_;
    std::string buffer_;
};

// GET with an HTTP/1.1 request line and a Host header.
std::string GetRequest(const std::string& target, const std::string& extraHeaders = "");

} // namespace zir::test
