#pragma once

// The byte transport under a connection: a real socket or, for tests and fuzzing, an in-memory
// byte stream. The connection does all buffering and line rules on top of it.

#include <cstddef>
#include <string>

namespace zir::http {

class TIdIOHandler {
  public:
    virtual ~TIdIOHandler() = default;

    // Receives up to size bytes, waiting without limit. Returns the count, 0 when the peer has
    // closed. Failures raise EIdSocketError (the transport closes itself first where the error
    // says the connection is gone) or EIdClosedSocket.
    virtual std::size_t Receive(char* buffer, std::size_t size) = 0;
    // Sends some of the bytes; returns how many (0 means the transport refuses more). Failures
    // raise like Receive. moreFollows: the next send comes at once (the body after its header
    // block), so both may travel together.
    virtual std::size_t Send(const char* data, std::size_t size, bool moreFollows) = 0;
    // Shuts the sending side down (the graceful end of a disconnect).
    virtual void ShutdownSend() = 0;
    // Releases the socket; harmless when already closed.
    virtual void Close() = 0;
    // True when something waits to be received: bytes, the peer's close or an error. Never
    // blocks.
    virtual bool InputWaiting() const = 0;
    // Wakes a thread blocked in Receive and closes the socket; may be called from another thread.
    virtual void Abort() = 0;
    virtual bool Connected() const = 0;
    virtual std::string PeerIP() const = 0;
    virtual int PeerPort() const = 0;
};

} // namespace zir::http
