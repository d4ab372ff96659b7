#pragma once

#include <cstdint>
#include <string>

#include "platform/Sockets.h"

namespace zir::http {

// One listening address of the server.
class TIdSocketHandle {
  public:
    std::string IP;        // dotted IPv4; empty: every local address
    std::int32_t Port = 0; // after a start: the port actually bound (read back from the socket)
    std::int32_t ClientPortMin = 0;
    std::int32_t ClientPortMax = 0;

    bool HandleAllocated() const { return handle_ != platform::kInvalidSocket; }
    platform::SocketHandle Handle() const { return handle_; }

  private:
    friend class TIdTCPServer;
    platform::SocketHandle handle_ = platform::kInvalidSocket;
};

} // namespace zir::http
