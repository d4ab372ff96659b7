#pragma once

#include <string>

#include "http/TIdIOHandler.h"

namespace zir::http {

// An in-memory byte stream for tests, fuzzing and benchmarks: the peer's bytes are given up front and
// arrive in pieces of at most chunkSize; after the last one the peer counts as closed. What
// the server sends is collected in Output().
class TIdIOHandlerMemory : public TIdIOHandler {
  public:
    explicit TIdIOHandlerMemory(std::string input, std::size_t chunkSize = 32768);

    std::size_t Receive(char* buffer, std::size_t size) override;
    std::size_t Send(const char* data, std::size_t size, bool moreFollows) override;
    void ShutdownSend() override {}
    void Close() override { closed_ = true; }
    void Abort() override { closed_ = true; }
    // The peer's bytes, and after them its close, are always there.
    bool InputWaiting() const override { return true; }
    bool Connected() const override { return !closed_; }
    std::string PeerIP() const override { return "127.0.0.1"; }
    int PeerPort() const override { return 50000; }

    const std::string& Output() const { return output_; }
    // Each Send call, in order: shows what went out as one piece.
    int SendCalls() const { return sendCalls_; }
    // How many of them said that more follows at once.
    int MoreFollowsSends() const { return moreFollowsSends_; }

  private:
    std::string input_;
    std::size_t position_ = 0;
    std::size_t chunkSize_;
    std::string output_;
    int sendCalls_ = 0;
    int moreFollowsSends_ = 0;
    bool closed_ = false;
};

} // namespace zir::http
