#pragma once

// One small API over BSD sockets and Winsock: IPv4 TCP with blocking calls. Every function
// returns a plain result and leaves the platform's error number for SocketLastError(); nothing
// here throws, the server layer turns failures into its own errors.

#include <cstddef>
#include <cstdint>
#include <string>

namespace zir::platform {

// A socket handle wide enough for both platforms (int on POSIX, SOCKET on Windows).
using SocketHandle = std::uintptr_t;
inline constexpr SocketHandle kInvalidSocket = ~static_cast<SocketHandle>(0);

// Starts the socket library once per process (Winsock); safe to call from any thread, any
// number of times. False when the library could not be started.
bool SocketsStartup();

// The error number of the last failed call on this thread, and its one-line description.
int SocketLastError();
std::string SocketErrorText(int error);

// The errors the server layer tells apart; everything else is Other.
enum class SocketErrorKind {
    AddressInUse,
    Interrupted,
    NotSocket,
    ConnectionAborted,
    ConnectionReset,
    Shutdown,
    Other
};
SocketErrorKind ClassifySocketError(int error);

// An IPv4 stream socket, or kInvalidSocket.
SocketHandle SocketCreateTcp();

// Binds to ip:port; an empty ip means every local address. False on failure (an ip that is not
// four dotted decimal numbers fails as an invalid argument).
bool SocketBind(SocketHandle socket, const std::string& ip, std::uint16_t port);
// The system's largest queue of connections waiting to be accepted.
int SocketMaxListenQueue();
bool SocketListen(SocketHandle socket, int backlog);

// Lets a listening socket bind a port whose recently closed connections still linger (TIME_WAIT).
// POSIX refuses that for about a minute without SO_REUSEADDR, which there never lets two
// listeners share a port. Windows needs nothing, and its SO_REUSEADDR would allow exactly that
// sharing, so there this does nothing.
void SocketAllowRebindAfterClose(SocketHandle socket);
bool SocketConnect(SocketHandle socket, const std::string& ip, std::uint16_t port);

// The local or peer address of a socket as dotted text and port. False on failure.
bool SocketLocalAddress(SocketHandle socket, std::string& ip, std::uint16_t& port);
bool SocketPeerAddress(SocketHandle socket, std::string& ip, std::uint16_t& port);

// Waits until the socket is readable (or has a pending connection). 1 readable, 0 time-out,
// -1 failure. A negative timeout waits without limit.
int SocketWaitReadable(SocketHandle socket, int timeoutMs);

// Accepts one connection; kInvalidSocket on failure.
SocketHandle SocketAccept(SocketHandle socket);

// Bytes received (0: the peer closed) or -1 on failure.
std::ptrdiff_t SocketReceive(SocketHandle socket, char* buffer, std::size_t size);
// Bytes sent or -1 on failure. Never raises a signal when the peer has gone. moreFollows: the
// caller sends more of the same answer right after this, so the system may put both into one
// segment (Linux does; Windows sends as always).
std::ptrdiff_t SocketSend(SocketHandle socket, const char* data, std::size_t size,
                          bool moreFollows = false);

// Sends small writes at once instead of holding them until the previous one is acknowledged.
bool SocketSetNoDelay(SocketHandle socket);

enum class SocketShutdownHow { Receive, Send, Both };
bool SocketShutdown(SocketHandle socket, SocketShutdownHow how);
void SocketClose(SocketHandle socket);

// Wakes every thread blocked on the socket, from another thread. True when the handle has also
// been released (Windows: closing is the documented way to end a blocked call there); false when
// its owner must still close it (POSIX: closing a descriptor that another thread is using races
// with the reuse of its number, so only the shutdown of both directions is done here).
bool SocketAbort(SocketHandle socket);

} // namespace zir::platform
