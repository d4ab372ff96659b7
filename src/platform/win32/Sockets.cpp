#include "platform/Sockets.h"

#include "SocketsNative.h"

#include <mutex>

namespace zir::platform {

bool SocketsStartup() {
    static std::once_flag once;
    static bool started = false;
    std::call_once(once, [] {
        WSADATA data;
        started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    });
    return started;
}

int SocketLastError() {
    return WSAGetLastError();
}

SocketErrorKind ClassifySocketError(int error) {
    switch (error) {
    case WSAEADDRINUSE:
        return SocketErrorKind::AddressInUse;
    case WSAEINTR:
        return SocketErrorKind::Interrupted;
    case WSAENOTSOCK:
        return SocketErrorKind::NotSocket;
    case WSAECONNABORTED:
        return SocketErrorKind::ConnectionAborted;
    case WSAECONNRESET:
        return SocketErrorKind::ConnectionReset;
    case WSAESHUTDOWN:
        return SocketErrorKind::Shutdown;
    default:
        return SocketErrorKind::Other;
    }
}

SocketHandle SocketCreateTcp() {
    if (!SocketsStartup()) {
        return kInvalidSocket;
    }
    SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    return s == INVALID_SOCKET ? kInvalidSocket : static_cast<SocketHandle>(s);
}

void SocketAllowRebindAfterClose(SocketHandle socket) {
    (void)socket;
}

int SocketWaitReadable(SocketHandle socket, int timeoutMs) {
    // Winsock's select takes any handle value, unlike POSIX fd_set.
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(Native(socket), &readable);
    timeval limit{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    int result = ::select(0, &readable, nullptr, nullptr, timeoutMs < 0 ? nullptr : &limit);
    return result == SOCKET_ERROR ? -1 : (result > 0 ? 1 : 0);
}

SocketHandle SocketAccept(SocketHandle socket) {
    SOCKET s = ::accept(Native(socket), nullptr, nullptr);
    return s == INVALID_SOCKET ? kInvalidSocket : static_cast<SocketHandle>(s);
}

std::ptrdiff_t SocketReceive(SocketHandle socket, char* buffer, std::size_t size) {
    int result = ::recv(Native(socket), buffer, static_cast<int>(size), 0);
    return result == SOCKET_ERROR ? -1 : result;
}

std::ptrdiff_t SocketSend(SocketHandle socket, const char* data, std::size_t size,
                          bool /*moreFollows: Windows has no such hint*/) {
    int result = ::send(Native(socket), data, static_cast<int>(size), 0);
    return result == SOCKET_ERROR ? -1 : result;
}

bool SocketShutdown(SocketHandle socket, SocketShutdownHow how) {
    int native = how == SocketShutdownHow::Receive ? SD_RECEIVE
                 : how == SocketShutdownHow::Send  ? SD_SEND
                                                   : SD_BOTH;
    return ::shutdown(Native(socket), native) == 0;
}

void SocketClose(SocketHandle socket) {
    if (socket == kInvalidSocket) {
        return;
    }
    ::closesocket(Native(socket));
}

bool SocketAbort(SocketHandle socket) {
    if (socket == kInvalidSocket) {
        return true;
    }
    SocketShutdown(socket, SocketShutdownHow::Both);
    ::closesocket(Native(socket));
    return true;
}

} // namespace zir::platform
