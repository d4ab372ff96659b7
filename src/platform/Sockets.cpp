#include "platform/Sockets.h"

#include "platform/SystemError.h"

// The platform's own, picked by CMake from posix/ or win32/.
#include "SocketsNative.h"

#include <cstdio>

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

} // namespace

std::string SocketErrorText(int error) {
    // One line: the description ends the message.
    return SystemErrorText(static_cast<unsigned long>(error)) + ".";
}

bool SocketBind(SocketHandle socket, const std::string& ip, std::uint16_t port) {
    sockaddr_in address;
    if (!MakeAddress(ip, port, address)) {
        SetInvalidArgument();
        return false;
    }
    return ::bind(Native(socket), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

int SocketMaxListenQueue() {
    return SOMAXCONN;
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

bool SocketSetNoDelay(SocketHandle socket) {
    int on = 1;
    return ::setsockopt(Native(socket), IPPROTO_TCP, TCP_NODELAY,
                        reinterpret_cast<const char*>(&on), sizeof on) == 0;
}

} // namespace zir::platform
