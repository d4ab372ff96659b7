#include "platform/Sockets.h"

#include "platform/SystemError.h"

#ifdef _WIN32
#include <windows.h>
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <mutex>

namespace zir::platform {

namespace {

// Dotted IPv4 text to an address in network order; false unless it is four numbers 0..255.
bool ParseIPv4(const std::string& text, std::uint32_t& networkOrder) {
    std::uint32_t parts[4] = {};
    std::size_t part = 0;
    bool digitSeen = false;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            parts[part] = parts[part] * 10 + static_cast<std::uint32_t>(c - '0');
            if (parts[part] > 255) {
                return false;
            }
            digitSeen = true;
        } else if (c == '.' && digitSeen && part < 3) {
            ++part;
            digitSeen = false;
        } else {
            return false;
        }
    }
    if (part != 3 || !digitSeen) {
        return false;
    }
    networkOrder = htonl((parts[0] << 24) | (parts[1] << 16) | (parts[2] << 8) | parts[3]);
    return true;
}

bool MakeAddress(const std::string& ip, std::uint16_t port, sockaddr_in& address) {
    address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (ip.empty()) {
        address.sin_addr.s_addr = htonl(INADDR_ANY);
        return true;
    }
    std::uint32_t networkOrder = 0;
    if (!ParseIPv4(ip, networkOrder)) {
        return false;
    }
    address.sin_addr.s_addr = networkOrder;
    return true;
}

void ReadAddress(const sockaddr_in& address, std::string& ip, std::uint16_t& port) {
    std::uint32_t host = ntohl(address.sin_addr.s_addr);
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", (host >> 24) & 255u, (host >> 16) & 255u,
                  (host >> 8) & 255u, host & 255u);
    ip = text;
    port = ntohs(address.sin_port);
}

#ifdef _WIN32
using NativeSocket = SOCKET;
NativeSocket Native(SocketHandle socket) {
    return static_cast<NativeSocket>(socket);
}
void SetInvalidArgument() {
    WSASetLastError(WSAEINVAL);
}
#else
using NativeSocket = int;
NativeSocket Native(SocketHandle socket) {
    return static_cast<NativeSocket>(socket);
}
void SetInvalidArgument() {
    errno = EINVAL;
}
#endif

} // namespace

bool SocketsStartup() {
#ifdef _WIN32
    static std::once_flag once;
    static bool started = false;
    std::call_once(once, [] {
        WSADATA data;
        started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    });
    return started;
#else
    return true;
#endif
}

int SocketLastError() {
#ifdef _WIN32
    return WSAGetLastError();
#else
    return errno;
#endif
}

std::string SocketErrorText(int error) {
    // One line: the description ends the message.
    return SystemErrorText(static_cast<unsigned long>(error)) + ".";
}

SocketErrorKind ClassifySocketError(int error) {
#ifdef _WIN32
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
#else
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
#endif
}

SocketHandle SocketCreateTcp() {
    if (!SocketsStartup()) {
        return kInvalidSocket;
    }
#ifdef _WIN32
    SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    return s == INVALID_SOCKET ? kInvalidSocket : static_cast<SocketHandle>(s);
#else
    int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
    return s < 0 ? kInvalidSocket : static_cast<SocketHandle>(s);
#endif
}

bool SocketBind(SocketHandle socket, const std::string& ip, std::uint16_t port) {
    sockaddr_in address;
    if (!MakeAddress(ip, port, address)) {
        SetInvalidArgument();
        return false;
    }
    return ::bind(Native(socket), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

void SocketAllowRebindAfterClose(SocketHandle socket) {
#ifdef _WIN32
    (void)socket;
#else
    int on = 1;
    ::setsockopt(Native(socket), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
#endif
}

bool SocketListen(SocketHandle socket, int backlog) {
    return ::listen(Native(socket), backlog) == 0;
}

bool SocketConnect(SocketHandle socket, const std::string& ip, std::uint16_t port) {
    sockaddr_in address;
    if (ip.empty() || !MakeAddress(ip, port, address)) {
        SetInvalidArgument();
        return false;
    }
    return ::connect(Native(socket), reinterpret_cast<const sockaddr*>(&address), sizeof address) ==
           0;
}

bool SocketLocalAddress(SocketHandle socket, std::string& ip, std::uint16_t& port) {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (::getsockname(Native(socket), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        return false;
    }
    ReadAddress(address, ip, port);
    return true;
}

bool SocketPeerAddress(SocketHandle socket, std::string& ip, std::uint16_t& port) {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (::getpeername(Native(socket), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        return false;
    }
    ReadAddress(address, ip, port);
    return true;
}

int SocketWaitReadable(SocketHandle socket, int timeoutMs) {
#ifdef _WIN32
    // Winsock's select takes any handle value, unlike POSIX fd_set.
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(Native(socket), &readable);
    timeval limit{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    int result = ::select(0, &readable, nullptr, nullptr, timeoutMs < 0 ? nullptr : &limit);
    return result == SOCKET_ERROR ? -1 : (result > 0 ? 1 : 0);
#else
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
#endif
}

SocketHandle SocketAccept(SocketHandle socket) {
#ifdef _WIN32
    SOCKET s = ::accept(Native(socket), nullptr, nullptr);
    return s == INVALID_SOCKET ? kInvalidSocket : static_cast<SocketHandle>(s);
#else
    int s = ::accept4(Native(socket), nullptr, nullptr, SOCK_CLOEXEC);
    return s < 0 ? kInvalidSocket : static_cast<SocketHandle>(s);
#endif
}

std::ptrdiff_t SocketReceive(SocketHandle socket, char* buffer, std::size_t size) {
#ifdef _WIN32
    int result = ::recv(Native(socket), buffer, static_cast<int>(size), 0);
    return result == SOCKET_ERROR ? -1 : result;
#else
    ssize_t result;
    do {
        result = ::recv(Native(socket), buffer, size, 0);
    } while (result < 0 && errno == EINTR);
    return result;
#endif
}

std::ptrdiff_t SocketSend(SocketHandle socket, const char* data, std::size_t size) {
#ifdef _WIN32
    int result = ::send(Native(socket), data, static_cast<int>(size), 0);
    return result == SOCKET_ERROR ? -1 : result;
#else
    ssize_t result;
    do {
        result = ::send(Native(socket), data, size, MSG_NOSIGNAL);
    } while (result < 0 && errno == EINTR);
    return result;
#endif
}

bool SocketSetNoDelay(SocketHandle socket) {
    int on = 1;
    return ::setsockopt(Native(socket), IPPROTO_TCP, TCP_NODELAY,
                        reinterpret_cast<const char*>(&on), sizeof on) == 0;
}

bool SocketShutdown(SocketHandle socket, SocketShutdownHow how) {
#ifdef _WIN32
    int native = how == SocketShutdownHow::Receive ? SD_RECEIVE
                 : how == SocketShutdownHow::Send  ? SD_SEND
                                                   : SD_BOTH;
#else
    int native = how == SocketShutdownHow::Receive ? SHUT_RD
                 : how == SocketShutdownHow::Send  ? SHUT_WR
                                                   : SHUT_RDWR;
#endif
    return ::shutdown(Native(socket), native) == 0;
}

void SocketClose(SocketHandle socket) {
    if (socket == kInvalidSocket) {
        return;
    }
#ifdef _WIN32
    ::closesocket(Native(socket));
#else
    ::close(Native(socket));
#endif
}

bool SocketAbort(SocketHandle socket) {
    if (socket == kInvalidSocket) {
        return true;
    }
    SocketShutdown(socket, SocketShutdownHow::Both);
#ifdef _WIN32
    ::closesocket(Native(socket));
    return true;
#else
    return false;
#endif
}

} // namespace zir::platform
