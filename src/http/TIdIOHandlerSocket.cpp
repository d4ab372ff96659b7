#include "http/TIdIOHandlerSocket.h"

#include "http/EIdException.h"

namespace zir::http {

using platform::SocketErrorKind;

TIdIOHandlerSocket::TIdIOHandlerSocket(platform::SocketHandle socket) : socket_(socket) {
    std::uint16_t port = 0;
    if (platform::SocketPeerAddress(socket, peerIP_, port)) {
        peerPort_ = port;
    }
}

TIdIOHandlerSocket::~TIdIOHandlerSocket() {
    Close();
}

// The handle to use, or kInvalidSocket once closed or aborted.
platform::SocketHandle TIdIOHandlerSocket::Handle() const {
    std::lock_guard<std::mutex> guard(lock_);
    return aborted_ ? platform::kInvalidSocket : socket_;
}

void TIdIOHandlerSocket::Fail(int error, bool closeFirst) {
    if (closeFirst) {
        Close();
    }
    RaiseSocketError(error);
}

std::size_t TIdIOHandlerSocket::Receive(char* buffer, std::size_t size) {
    platform::SocketHandle socket = Handle();
    if (socket == platform::kInvalidSocket) {
        throw EIdClosedSocket();
    }
    std::ptrdiff_t received = platform::SocketReceive(socket, buffer, size);
    if (received < 0) {
        int error = platform::SocketLastError();
        SocketErrorKind kind = platform::ClassifySocketError(error);
        if (Handle() == platform::kInvalidSocket) {
            throw EIdClosedSocket(); // the server's stop closed it under us
        }
        Fail(error,
             kind == SocketErrorKind::ConnectionAborted || kind == SocketErrorKind::Shutdown);
    }
    return static_cast<std::size_t>(received);
}

std::size_t TIdIOHandlerSocket::Send(const char* data, std::size_t size, bool moreFollows) {
    platform::SocketHandle socket = Handle();
    if (socket == platform::kInvalidSocket) {
        throw EIdClosedSocket();
    }
    std::ptrdiff_t sent = platform::SocketSend(socket, data, size, moreFollows);
    if (sent < 0) {
        int error = platform::SocketLastError();
        SocketErrorKind kind = platform::ClassifySocketError(error);
        if (Handle() == platform::kInvalidSocket) {
            throw EIdClosedSocket();
        }
        Fail(error, kind == SocketErrorKind::ConnectionAborted ||
                        kind == SocketErrorKind::ConnectionReset ||
                        kind == SocketErrorKind::Shutdown);
    }
    return static_cast<std::size_t>(sent);
}

bool TIdIOHandlerSocket::InputWaiting() const {
    platform::SocketHandle socket = Handle();
    return socket == platform::kInvalidSocket || platform::SocketWaitReadable(socket, 0) != 0;
}

void TIdIOHandlerSocket::ShutdownSend() {
    // Under the lock: the server's stop may close the handle at the same moment.
    std::lock_guard<std::mutex> guard(lock_);
    if (socket_ != platform::kInvalidSocket && !aborted_) {
        platform::SocketShutdown(socket_, platform::SocketShutdownHow::Send);
    }
}

void TIdIOHandlerSocket::Close() {
    platform::SocketHandle socket;
    {
        std::lock_guard<std::mutex> guard(lock_);
        socket = socket_;
        socket_ = platform::kInvalidSocket;
    }
    platform::SocketClose(socket);
}

void TIdIOHandlerSocket::Abort() {
    std::lock_guard<std::mutex> guard(lock_);
    if (socket_ != platform::kInvalidSocket && !aborted_) {
        aborted_ = true;
        if (platform::SocketAbort(socket_)) {
            socket_ = platform::kInvalidSocket;
        }
    }
}

bool TIdIOHandlerSocket::Connected() const {
    return Handle() != platform::kInvalidSocket;
}

} // namespace zir::http
