#pragma once

#include <atomic>
#include <memory>

#include "http/TIdTCPConnection.h"

namespace zir::http {

// The worker of one accepted connection. Handlers receive it; it gives them the connection.
class TIdPeerThread {
  public:
    explicit TIdPeerThread(std::unique_ptr<TIdTCPConnection> connection)
        : connection_(std::move(connection)) {}

    TIdTCPConnection& Connection() { return *connection_; }
    // Told by the server's stop; a long handler may look at it.
    bool Stopped() const { return stopped_.load(); }
    void Stop() { stopped_.store(true); }

  private:
    std::unique_ptr<TIdTCPConnection> connection_;
    std::atomic<bool> stopped_{false};
};

} // namespace zir::http
