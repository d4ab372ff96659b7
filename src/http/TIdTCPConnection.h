#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "http/TIdIOHandler.h"

namespace zir::http {

// One accepted connection: buffered input with line reading, writes with an optional write
// buffer that goes out in one piece. Used by one thread only, except Abort.
class TIdTCPConnection {
  public:
    static constexpr std::size_t RecvBufferSize = 32768;
    static constexpr std::size_t SendBufferSize = 32768;
    static constexpr std::size_t MaxLineLength = 16384;

    explicit TIdTCPConnection(std::unique_ptr<TIdIOHandler> io);
    ~TIdTCPConnection();

    // The bytes up to the next LF, without it and one CR before it. Fails with "Max line length
    // exceeded." when more than MaxLineLength bytes come before the LF; returns an empty line
    // (leaving the partial line buffered) when the peer closes in the middle of a line.
    std::string ReadLn();
    // Exactly count bytes appended to target; "Connection Closed Gracefully." when the peer
    // closes first.
    void ReadBytes(std::string& target, std::size_t count);
    // Everything until the peer closes, appended to target. False (with the bytes so far kept)
    // as soon as target would grow beyond limit.
    bool ReadUntilClose(std::string& target, std::size_t limit);

    void Write(std::string_view bytes);
    void WriteLn(std::string_view text);
    void OpenWriteBuffer();
    // Sends what was collected in one piece and stops collecting. moreFollows: the next write
    // comes at once (see TIdIOHandler::Send).
    void CloseWriteBuffer(bool moreFollows = false);
    // Drops the collected bytes and stops collecting.
    void CancelWriteBuffer();

    // Marks the connection closed gracefully, shuts the sending side down and closes it.
    void Disconnect();
    bool Connected() const;
    bool ClosedGracefully() const { return closedGracefully_; }
    // From another thread: wakes a blocked read and closes the socket.
    void Abort();

    std::string PeerIP() const;
    int PeerPort() const;
    std::size_t InputBufferSize() const { return input_.size() - inputStart_; }
    // Buffered bytes, or bytes or the peer's close waiting in the transport. Never blocks.
    bool InputPending() const { return InputBufferSize() > 0 || io_->InputWaiting(); }

    TIdIOHandler& IOHandler() { return *io_; }

  private:
    // Receives once into the input buffer. False when the peer has closed (and the socket
    // is then closed); throws "Connection Closed Gracefully." if nothing is buffered then.
    bool ReadFromStack(bool raiseIfNothingBuffered);
    void SendAll(std::string_view bytes, bool moreFollows = false);
    std::string_view Buffered() const;
    void Consume(std::size_t count);

    std::unique_ptr<TIdIOHandler> io_;
    std::string input_;
    std::size_t inputStart_ = 0;
    std::optional<std::string> writeBuffer_;
    bool closedGracefully_ = false;
};

} // namespace zir::http
