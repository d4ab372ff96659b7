#pragma once

// This platform's socket headers, handle type and error setting, for the socket code POSIX
// shares with Winsock (Sockets.cpp) and for posix/Sockets.cpp.

#include "platform/Sockets.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

namespace zir::platform {

using NativeSocket = int;
inline NativeSocket Native(SocketHandle socket) {
    return static_cast<NativeSocket>(socket);
}
inline void SetInvalidArgument() {
    errno = EINVAL;
}

} // namespace zir::platform
