#pragma once

// This platform's socket headers, handle type and error setting, for the socket code Winsock
// shares with POSIX (Sockets.cpp) and for win32/Sockets.cpp.

#include "platform/Sockets.h"

#include <windows.h>
#include <winsock2.h>
#include <ws2tcpip.h>

namespace zir::platform {

using NativeSocket = SOCKET;
inline NativeSocket Native(SocketHandle socket) {
    return static_cast<NativeSocket>(socket);
}
inline void SetInvalidArgument() {
    WSASetLastError(WSAEINVAL);
}

} // namespace zir::platform
