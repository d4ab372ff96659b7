#include "RawHttpClient.h"

#include "platform/Text.h"

#include <stdexcept>

namespace zir::test {

std::string RawResponse::Header(const std::string& name) const {
    for (const auto& line : HeaderLines) {
        auto colon = line.find(':');
        if (colon != std::string::npos && colon == name.size() &&
            platform::EqualsIgnoringAsciiCase(std::string_view(line).substr(0, colon), name)) {
            auto start = line.find_first_not_of(' ', colon + 1);
            return start == std::string::npos ? "" : line.substr(start);
        }
    }
    return "";
}

RawHttpClient::RawHttpClient(int port, const std::string& address) {
    if (!client_.Connect(static_cast<std::uint16_t>(port), address))
        throw std::runtime_error("cannot connect to " + address + ":" + std::to_string(port));
}

bool RawHttpClient::CanConnect(int port, const std::string& address) {
    LoopbackClient client;
    return client.Connect(static_cast<std::uint16_t>(port), address);
}

void RawHttpClient::Send(const std::string& bytes) {
    if (!client_.Send(bytes))
        throw std::runtime_error("send failed");
}

bool RawHttpClient::Fill(std::chrono::steady_clock::time_point deadline) {
    if (client_.PeerClosed())
        return false;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    deadline - std::chrono::steady_clock::now())
                    .count();
    std::string got = client_.Take(1, left > 0 ? static_cast<int>(left) : 0);
    buffer_ += got;
    return !got.empty();
}

std::optional<RawResponse> RawHttpClient::ReadResponse(bool headOnly,
                                                       std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    size_t end;
    while ((end = buffer_.find("\r\n\r\n")) == std::string::npos)
        if (!Fill(deadline))
            return std::nullopt;
    RawResponse response;
    response.Head = buffer_.substr(0, end + 4);
    size_t start = 0;
    bool first = true;
    while (start < end) {
        size_t lineEnd = buffer_.find("\r\n", start);
        std::string line = buffer_.substr(start, lineEnd - start);
        if (first)
            response.StatusLine = line;
        else
            response.HeaderLines.push_back(line);
        first = false;
        start = lineEnd + 2;
    }
    buffer_.erase(0, end + 4);
    std::string length = response.Header("Content-Length");
    size_t bodySize = (headOnly || length.empty()) ? 0 : std::stoul(length);
    while (buffer_.size() < bodySize)
        if (!Fill(deadline))
            return std::nullopt;
    response.Body = buffer_.substr(0, bodySize);
    buffer_.erase(0, bodySize);
    return response;
}

bool RawHttpClient::ClosedByPeer(std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (Fill(deadline)) {
    }
    return client_.PeerClosed() && buffer_.empty();
}

std::string RawHttpClient::ReadAvailable(std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (Fill(deadline)) {
    }
    std::string all;
    all.swap(buffer_);
    return all;
}

std::string GetRequest(const std::string& target, const std::string& extraHeaders) {
    return "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + extraHeaders + "\r\n";
}

} // namespace zir::test
