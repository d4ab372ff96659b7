#pragma once

// Errors of the server layer. Their messages are the fixed English texts callers show or log.

#include <stdexcept>
#include <string>

namespace zir::http {

class EIdException : public std::runtime_error {
  public:
    explicit EIdException(const std::string& message) : std::runtime_error(message) {}
};

// "Could not bind socket. Address and port are already in use."
class EIdCouldNotBindSocket : public EIdException {
  public:
    EIdCouldNotBindSocket();
};

// "Connection Closed Gracefully."
class EIdConnClosedGracefully : public EIdException {
  public:
    EIdConnClosedGracefully();
};

// A platform socket failure: "Socket Error # %d\r\n%s".
class EIdSocketError : public EIdException {
  public:
    EIdSocketError(int error, const std::string& description);
    int LastError() const { return lastError_; }

  private:
    int lastError_;
};

// The socket of a connection has already been closed (locally, or by the server's stop).
class EIdClosedSocket : public EIdException {
  public:
    EIdClosedSocket();
};

// Raises EIdSocketError for the platform's error number and its description.
[[noreturn]] void RaiseSocketError(int error);

namespace messages {
inline constexpr const char* kCouldNotBind =
    "Could not bind socket. Address and port are already in use.";
inline constexpr const char* kCannotAllocateSocket = "Cannot allocate socket.";
inline constexpr const char* kTerminateThreadTimeout = "Terminate Thread Timeout";
inline constexpr const char* kConnClosedGracefully = "Connection Closed Gracefully.";
inline constexpr const char* kMaxLineLengthExceeded = "Max line length exceeded.";
inline constexpr const char* kErrorInParsingCommand = "Error in parsing command.";
inline constexpr const char* kUnsupportedAuthScheme = "Unsupported authorization scheme.";
inline constexpr const char* kUnevenSize = "Uneven size in DecodeToStream.";
inline constexpr const char* kHeaderAlreadyWritten = "Header has already been written.";
inline constexpr const char* kClosedSocket = "Socket is already closed.";
inline constexpr const char* kTooManyHeaderLines = "Too many header lines.";
inline constexpr const char* kHeaderBlockTooLarge = "Header block too large.";
inline constexpr const char* kCannotStartThread = "Cannot start a thread for the connection.";
} // namespace messages

} // namespace zir::http
