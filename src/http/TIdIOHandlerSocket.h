#pragma once

#include <mutex>

#include "http/TIdIOHandler.h"
#include "platform/Sockets.h"

namespace zir::http {

// A connection's real socket. The owning worker receives and sends without holding the lock;
// Abort (from the server's stop) wakes a blocked receive and ends the connection; the handle
// itself is released by the owner where releasing it under a running call would be unsafe.
class TIdIOHandlerSocket : public TIdIOHandler {
  public:
    explicit TIdIOHandlerSocket(platform::SocketHandle socket);
    ~TIdIOHandlerSocket() override;
    TIdIOHandlerSocket(const TIdIOHandlerSocket&) = delete;
    TIdIOHandlerSocket& operator=(const TIdIOHandlerSocket&) = delete;

    std::size_t Receive(char* buffer, std::size_t size) override;
    std::size_t Send(const char* data, std::size_t size, bool moreFollows) override;
    void ShutdownSend() override;
    void Close() override;
    void Abort() override;
    bool InputWaiting() const override;
    bool Connected() const override;
    std::string PeerIP() const override { return peerIP_; }
    int PeerPort() const override { return peerPort_; }

  private:
    platform::SocketHandle Handle() const;
    [[noreturn]] void Fail(int error, bool closeFirst);

    mutable std::mutex lock_;
    platform::SocketHandle socket_;
    bool aborted_ = false;
    std::string peerIP_;
    int peerPort_ = 0;
};

} // namespace zir::http
