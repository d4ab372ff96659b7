#include "RawHttpClient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zir::test {

std::string RawResponse::Header(const std::string& name) const {
    for (const auto& line : HeaderLines) {
        auto colon = line.find(':');
        if (colon != std::string::npos && colon == name.size() &&
            strncasecmp(line.c_str(), name.c_str(), name.size()) == 0) {
            auto start = line.find_first_not_of(' ', colon + 1);
            return start == std::string::npos ? "" : line.substr(start);
        }
    }
    return "";
}

namespace {
int Connect(int port, const std::string& address) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<uint16_t>(port));
    inet_pton(AF_INET, address.c_str(), &to.sin_addr);
    if (connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}
} // namespace

RawHttpClient::RawHttpClient(int port, const std::string& address) {
    fd_ = Connect(port, address);
    if (fd_ < 0)
        throw std::runtime_error("cannot connect to " + address + ":" + std::to_string(port));
}

RawHttpClient::~RawHttpClient() {
    if (fd_ >= 0)
        close(fd_);
}

bool RawHttpClient::CanConnect(int port, const std::string& address) {
    int fd = Connect(port, address);
    if (fd < 0)
        return false;
    close(fd);
    return true;
}

void RawHttpClient::Send(const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        ssize_t n = send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            throw std::runtime_error("send failed");
        sent += static_cast<size_t>(n);
    }
}

bool RawHttpClient::Fill(std::chrono::steady_clock::time_point deadline) {
    if (closed_)
        return false;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    deadline - std::chrono::steady_clock::now())
                    .count();
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, left > 0 ? static_cast<int>(left) : 0) <= 0)
        return false;
    char chunk[65536];
    ssize_t n = recv(fd_, chunk, sizeof chunk, 0);
    if (n <= 0) {
        closed_ = true;
        return false;
    }
    buffer_.append(chunk, static_cast<size_t>(n));
    return true;
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
    return closed_ && buffer_.empty();
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
