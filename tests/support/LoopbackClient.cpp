#include "LoopbackClient.h"

#include <chrono>
#include <random>

namespace zir::test {

namespace {

using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// A port the system hands out for bind(0) comes from its ephemeral range, from which every
// outgoing connection of a test running beside this one takes its local port too: between the
// probe and the service's own bind, one of them may take it. Candidates below those ranges
// (Linux from 32768, Windows from 49152) are never taken that way.
std::uint16_t CandidateServicePort() {
    static std::mt19937 random{std::random_device{}()};
    return static_cast<std::uint16_t>(std::uniform_int_distribution<int>(20000, 32000)(random));
}

} // namespace

LoopbackClient::~LoopbackClient() {
    Close();
}

bool LoopbackClient::Connect(std::uint16_t port, const std::string& ip) {
    Close();
    socket_ = platform::SocketCreateTcp();
    if (socket_ == platform::kInvalidSocket) {
        return false;
    }
    peerClosed_ = false;
    pending_.clear();
    return platform::SocketConnect(socket_, ip, port);
}

bool LoopbackClient::Send(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        std::ptrdiff_t sent =
            platform::SocketSend(socket_, bytes.data() + done, bytes.size() - done);
        if (sent <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(sent);
    }
    return true;
}

void LoopbackClient::ShutdownSend() {
    platform::SocketShutdown(socket_, platform::SocketShutdownHow::Send);
}

void LoopbackClient::Close() {
    platform::SocketClose(socket_);
    socket_ = platform::kInvalidSocket;
}

std::string LoopbackClient::Take(std::size_t count, int timeoutMs) {
    return Read([&] { return pending_.size() >= count; }, timeoutMs);
}

std::string LoopbackClient::TakeUntil(const std::string& ending, int timeoutMs) {
    return Read(
        [&] {
            return pending_.size() >= ending.size() &&
                   pending_.compare(pending_.size() - ending.size(), ending.size(), ending) == 0;
        },
        timeoutMs);
}

std::string LoopbackClient::Read(const std::function<bool()>& done, int timeoutMs) {
    auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    char buffer[4096];
    while (!done() && !peerClosed_) {
        int left = RemainingMs(deadline);
        if (left == 0 || platform::SocketWaitReadable(socket_, left) <= 0) {
            break;
        }
        std::ptrdiff_t got = platform::SocketReceive(socket_, buffer, sizeof buffer);
        if (got <= 0) {
            peerClosed_ = true;
            break;
        }
        pending_.append(buffer, static_cast<std::size_t>(got));
    }
    std::string result = std::move(pending_);
    pending_.clear();
    return result;
}

bool LoopbackClient::WaitClosed(std::string& received, int timeoutMs) {
    received = Take(SIZE_MAX, timeoutMs);
    return peerClosed_;
}

std::uint16_t FreeLoopbackPort() {
    for (int attempt = 0; attempt < 200; ++attempt) {
        const std::uint16_t candidate = CandidateServicePort();
        platform::SocketHandle probe = platform::SocketCreateTcp();
        const bool free = platform::SocketBind(probe, "127.0.0.1", candidate);
        platform::SocketClose(probe);
        if (free)
            return candidate;
    }
    // Every candidate taken: let the system choose one.
    platform::SocketHandle probe = platform::SocketCreateTcp();
    std::uint16_t port = 0;
    std::string ip;
    if (platform::SocketBind(probe, "127.0.0.1", 0))
        platform::SocketLocalAddress(probe, ip, port);
    platform::SocketClose(probe);
    return port;
}

HeldLoopbackPort::HeldLoopbackPort() : socket_(platform::SocketCreateTcp()) {
    std::string ip;
    if (platform::SocketBind(socket_, "127.0.0.1", 0) && platform::SocketListen(socket_, 1))
        platform::SocketLocalAddress(socket_, ip, port_);
}

HeldLoopbackPort::~HeldLoopbackPort() {
    platform::SocketClose(socket_);
}

} // namespace zir::test
