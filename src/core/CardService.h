#pragma once

// The card service: the HTTP endpoint's request handler and the start and stop commands that
// put the service on 127.0.0.1:WebPort and take it down again, reporting in the service log.

#include "core/CardEventStream.h"
#include "core/CardOperations.h"
#include "core/CardWatcher.h"
#include "http/TIdHTTPServer.h"

#include <cstdint>
#include <string>

namespace zir::core {

// Why the last start failed, for the shells to show where the log is not seen.
struct TStartFailure {
    bool Failed = false;
    std::string Address;    // "127.0.0.1:80"
    std::string Reason;     // the error's own message, on one line
    bool PortTaken = false; // another program holds the port
};

class CardService {
  public:
    // The server goes with its owner: destroying the service stops it and waits for busy
    // handlers. Every card operation of its requests goes to cards, which outlives it.
    explicit CardService(TCardOperations& cards);
    CardService(const CardService&) = delete;
    CardService& operator=(const CardService&) = delete;

    // The start button: binds 127.0.0.1 on the configured port. Logs the outcome; true when the
    // service now runs.
    bool btnStartServerClick();
    // The stop button: true when the service stopped. A server-layer failure (a handler still
    // busy) is logged with its message and leaves the service running.
    bool btnStopServerClick();

    // The outcome of the last start (Failed false after a successful one). Read it on the
    // thread that ran the start, or after that thread has handed over.
    const TStartFailure& LastStartFailure() const { return lastStartFailure; }

    // Stopped or running: what the two buttons follow. A failed start or stop changes nothing.
    bool Running() const { return httpServer.Active(); }

    // The server's default port (80 until a start sets the configured one).
    int32_t DefaultPort() const;

    // The card operations the service's requests use, for the program's own (beep, test read).
    TCardOperations& Cards() const { return cards_; }

    // One GET, POST or HEAD request, on the worker thread of its connection.
    void httpServerCommandGet(http::TIdPeerThread* AThread, http::TIdHTTPRequestInfo& ARequestInfo,
                              http::TIdHTTPResponseInfo& AResponseInfo);

    // GET /events: the keep-alive interval and the full read of ?read=1 (tests shorten the one
    // and count the other). Set before streams open.
    CardEventStreamSettings EventStream;

  private:
    void LogStartFailure(const std::string& reason, bool portTaken);

    TCardOperations& cards_;
    // Before the server: handlers use it until the server's destruction has waited for them.
    CardWatcher cardWatcher;
    http::TIdHTTPServer httpServer;
    TStartFailure lastStartFailure;
};

} // namespace zir::core
