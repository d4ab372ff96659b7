#pragma once

// The card service: the HTTP endpoint's request handler and the start and stop commands that
// put the service on 127.0.0.1:WebPort and take it down again, reporting in the service log.

#include "http/TIdHTTPServer.h"

#include <atomic>
#include <cstdint>
#include <functional>

namespace zir::core {

class CardService {
  public:
    CardService();
    ~CardService();
    CardService(const CardService&) = delete;
    CardService& operator=(const CardService&) = delete;

    // The start button: binds 127.0.0.1 on the configured port. Logs the outcome; true when the
    // service now runs.
    bool btnStartServerClick();
    // The stop button: true when the service stopped. A server-layer failure (a handler still
    // busy) is logged with its message and leaves the service running.
    bool btnStopServerClick();

    // Stopped or running: what the two buttons follow.
    bool Running() const { return running_; }
    // Told after every change of Running, on the thread that ran the command.
    void SetStateChanged(std::function<void(bool running)> onChange);

    // The server's default port (80 until a start sets the configured one).
    int32_t DefaultPort() const;
    // The port actually listened on while running (differs from DefaultPort only for port 0).
    int BoundPort();

    // One GET, POST or HEAD request, on the worker thread of its connection.
    void httpServerCommandGet(http::TIdPeerThread* AThread, http::TIdHTTPRequestInfo& ARequestInfo,
                              http::TIdHTTPResponseInfo& AResponseInfo);

  private:
    void SetRunning(bool running);

    http::TIdHTTPServer httpServer;
    std::atomic<bool> running_{false};
    std::function<void(bool)> stateChanged_;
};

} // namespace zir::core
