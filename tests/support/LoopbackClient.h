#pragma once

// A plain TCP client for the loopback tests: raw bytes in, raw bytes out, every wait bounded.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/Sockets.h"

namespace zir::test {

class LoopbackClient {
  public:
    LoopbackClient() = default;
    ~LoopbackClient();
    LoopbackClient(const LoopbackClient&) = delete;
    LoopbackClient& operator=(const LoopbackClient&) = delete;

    bool Connect(std::uint16_t port, const std::string& ip = "127.0.0.1");
    bool Send(const std::string& bytes);
    void ShutdownSend();
    void Close();

    // Reads until count bytes have arrived in total since the last Take, the peer closes, or
    // timeoutMs passes; returns everything received so far and forgets it.
    std::string Take(std::size_t count, int timeoutMs = 5000);
    // Reads until what arrived ends with ending, the peer closes, or timeoutMs passes; returns
    // everything received so far and forgets it.
    std::string TakeUntil(const std::string& ending, int timeoutMs = 5000);
    // Reads until the peer closes (true) or timeoutMs passes (false).
    bool WaitClosed(std::string& received, int timeoutMs = 5000);
    // The peer has closed the connection (seen by a read).
    bool PeerClosed() const { return peerClosed_; }

  private:
    std::string Read(const std::function<bool()>& done, int timeoutMs);

    platform::SocketHandle socket_ = platform::kInvalidSocket;
    std::string pending_;
    bool peerClosed_ = false;
};

// A port nobody listens on right now, below the range the system takes outgoing connections
// from.
std::uint16_t FreeLoopbackPort();

// A loopback port held by a listener for as long as the object lives, as another program would
// hold it: a service told to bind it fails.
class HeldLoopbackPort {
  public:
    HeldLoopbackPort();
    ~HeldLoopbackPort();
    HeldLoopbackPort(const HeldLoopbackPort&) = delete;
    HeldLoopbackPort& operator=(const HeldLoopbackPort&) = delete;
    std::uint16_t Port() const { return port_; }

  private:
    platform::SocketHandle socket_ = platform::kInvalidSocket;
    std::uint16_t port_ = 0;
};

} // namespace zir::test
