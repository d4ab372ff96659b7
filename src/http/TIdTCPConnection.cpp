#include "http/TIdTCPConnection.h"

#include <algorithm>

#include "http/EIdException.h"

namespace zir::http {

TIdTCPConnection::TIdTCPConnection(std::unique_ptr<TIdIOHandler> io) : io_(std::move(io)) {}

TIdTCPConnection::~TIdTCPConnection() {
    io_->Close();
}

std::string_view TIdTCPConnection::Buffered() const {
    return std::string_view(input_).substr(inputStart_);
}

void TIdTCPConnection::Consume(std::size_t count) {
    inputStart_ += count;
    // Compact now and then instead of erasing the front on every line.
    if (inputStart_ == input_.size()) {
        input_.clear();
        inputStart_ = 0;
    } else if (inputStart_ > RecvBufferSize) {
        input_.erase(0, inputStart_);
        inputStart_ = 0;
    }
}

bool TIdTCPConnection::ReadFromStack(bool raiseIfNothingBuffered) {
    if (closedGracefully_ || !io_->Connected()) {
        if (InputBufferSize() == 0 && raiseIfNothingBuffered) {
            throw EIdConnClosedGracefully();
        }
        return false;
    }
    // Receive straight into the buffer's tail: no large array on a worker's small stack.
    std::size_t oldSize = input_.size();
    input_.resize(oldSize + RecvBufferSize);
    std::size_t received = 0;
    try {
        received = io_->Receive(input_.data() + oldSize, RecvBufferSize);
    } catch (...) {
        input_.resize(oldSize);
        throw;
    }
    input_.resize(oldSize + received);
    if (received == 0) {
        closedGracefully_ = true;
        io_->Close();
        if (InputBufferSize() == 0 && raiseIfNothingBuffered) {
            throw EIdConnClosedGracefully();
        }
        return false;
    }
    return true;
}

std::string TIdTCPConnection::ReadLn() {
    std::size_t searchFrom = 0;
    for (;;) {
        std::string_view buffered = Buffered();
        std::size_t lf = buffered.find('\n', searchFrom);
        if (lf != std::string_view::npos) {
            if (lf > MaxLineLength) {
                throw EIdException(messages::kMaxLineLengthExceeded);
            }
            std::size_t length = lf;
            if (length > 0 && buffered[length - 1] == '\r') {
                --length;
            }
            std::string line(buffered.substr(0, length));
            Consume(lf + 1);
            return line;
        }
        if (buffered.size() > MaxLineLength) {
            throw EIdException(messages::kMaxLineLengthExceeded);
        }
        searchFrom = buffered.size();
        if (!ReadFromStack(true)) {
            return {}; // the peer closed in the middle of a line; its bytes stay buffered
        }
    }
}

void TIdTCPConnection::ReadBytes(std::string& target, std::size_t count) {
    while (count > 0) {
        std::string_view buffered = Buffered();
        std::size_t take = std::min(count, buffered.size());
        target.append(buffered.substr(0, take));
        Consume(take);
        count -= take;
        if (count > 0 && !ReadFromStack(true)) {
            throw EIdConnClosedGracefully();
        }
    }
}

bool TIdTCPConnection::ReadUntilClose(std::string& target, std::size_t limit) {
    for (;;) {
        std::string_view buffered = Buffered();
        if (target.size() + buffered.size() > limit) {
            return false;
        }
        target.append(buffered);
        Consume(buffered.size());
        if (!ReadFromStack(false)) {
            return true;
        }
    }
}

void TIdTCPConnection::SendAll(std::string_view bytes, bool moreFollows) {
    if (closedGracefully_ || !io_->Connected()) {
        throw EIdConnClosedGracefully();
    }
    while (!bytes.empty()) {
        std::size_t sent = io_->Send(bytes.data(), bytes.size(), moreFollows);
        if (sent == 0) {
            Disconnect();
            throw EIdConnClosedGracefully();
        }
        bytes.remove_prefix(sent);
    }
}

void TIdTCPConnection::Write(std::string_view bytes) {
    if (writeBuffer_) {
        writeBuffer_->append(bytes);
        return;
    }
    SendAll(bytes);
}

void TIdTCPConnection::WriteLn(std::string_view text) {
    std::string line(text);
    line += "\r\n";
    Write(line);
}

void TIdTCPConnection::OpenWriteBuffer() {
    if (!writeBuffer_) {
        writeBuffer_.emplace();
    }
}

void TIdTCPConnection::CloseWriteBuffer(bool moreFollows) {
    if (!writeBuffer_) {
        return;
    }
    std::string collected = std::move(*writeBuffer_);
    writeBuffer_.reset();
    if (!collected.empty()) {
        SendAll(collected, moreFollows);
    }
}

void TIdTCPConnection::CancelWriteBuffer() {
    writeBuffer_.reset();
}

void TIdTCPConnection::Disconnect() {
    closedGracefully_ = true;
    if (io_->Connected()) {
        io_->ShutdownSend();
        io_->Close();
    }
}

bool TIdTCPConnection::Connected() const {
    return io_->Connected();
}

void TIdTCPConnection::Abort() {
    io_->Abort();
}

std::string TIdTCPConnection::PeerIP() const {
    return io_->PeerIP();
}

int TIdTCPConnection::PeerPort() const {
    return io_->PeerPort();
}

} // namespace zir::http
