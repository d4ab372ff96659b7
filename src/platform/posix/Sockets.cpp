#include "platform/Sockets.h"

#include "SocketsNative.h"

#include <poll.h>
#include <unistd.h>

namespace zir::platform {

bool SocketsStartup() {
    return true;
}

int SocketLastError() {
    return errno;
}

SocketErrorKind ClassifySocketError(int error) {
    switch (error) {
    case EADDRINUSE:
        return SocketErrorKind::AddressInUse;
    case EINTR:
        return SocketErrorKind::Interrupted;
    case ENOTSOCK:
    case EBADF:
        return SocketErrorKind::NotSocket;
    case ECONNABORTED:
        return SocketErrorKind::ConnectionAborted;
    case ECONNRESET:
        return SocketErrorKind::ConnectionReset;
    case ESHUTDOWN:
    case EPIPE:
        return SocketErrorKind::Shutdown;
    default:
        return SocketErrorKind::Other;
    }
}

SocketHandle SocketCreateTcp() {
    if (!SocketsStartup()) {
        return kInvalidSocket;
    }
    int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
    return s < 0 ? kInvalidSocket : static_cast<SocketHandle>(s);
}

void SocketAllowRebindAfterClose(SocketHandle socket) {
    int on = 1;
    ::setsockopt(Native(socket), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
}

int SocketWaitReadable(SocketHandle socket, int timeoutMs) {
    // poll, because select cannot watch descriptors beyond FD_SETSIZE.
    pollfd entry{Native(socket), POLLIN, 0};
    int result = ::poll(&entry, 1, timeoutMs < 0 ? -1 : timeoutMs);
    if (result < 0) {
        return -1;
    }
    if (result > 0 && (entry.revents & POLLNVAL) != 0) {
        errno = EBADF;
        return -1;
    }
    return result > 0 ? 1 : 0;
}

SocketHandle SocketAccept(SocketHandle socket) {
    int s = ::accept4(Native(socket), nullptr, nullptr, SOCK_CLOEXEC);
    return s < 0 ? kInvalidSocket : static_cast<SocketHandle>(s);
}

std::ptrdiff_t SocketReceive(SocketHandle socket, char* buffer, std::size_t size) {
    ssize_t result;
    do {
        result = ::recv(Native(socket), buffer, size, 0);
    } while (result < 0 && errno == EINTR);
    return result;
}

std::ptrdiff_t SocketSend(SocketHandle socket, const char* data, std::size_t size,
                          bool moreFollows) {
    const int flags = MSG_NOSIGNAL | (moreFollows ? MSG_MORE : 0);
    ssize_t result;
    do {
        result = ::send(Native(socket), data, size, flags);
    } while (result < 0 && errno == EINTR);
    return result;
}

bool SocketShutdown(SocketHandle socket, SocketShutdownHow how) {
    int native = how == SocketShutdownHow::Receive ? SHUT_RD
                 : how == SocketShutdownHow::Send  ? SHUT_WR
                                                   : SHUT_RDWR;
    return ::shutdown(Native(socket), native) == 0;
}

void SocketClose(SocketHandle socket) {
    if (socket == kInvalidSocket) {
        return;
    }
    ::close(Native(socket));
}

bool SocketAbort(SocketHandle socket) {
    if (socket == kInvalidSocket) {
        return true;
    }
    SocketShutdown(socket, SocketShutdownHow::Both);
    return false;
}

} // namespace zir::platform
