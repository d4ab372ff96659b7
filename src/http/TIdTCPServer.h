#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "http/TIdPeerThread.h"
#include "http/TIdSocketHandles.h"
#include "platform/Sockets.h"

namespace zir::http {

struct TIdServerState;

// The listening base: bindings, one listener thread per binding, one worker thread per
// accepted connection. Start and stop run on the caller's thread and raise EIdException with
// the fixed messages.
class TIdTCPServer {
  public:
    TIdTCPServer();
    // Stops the server; waits for busy handlers to return rather than leave them running.
    virtual ~TIdTCPServer();
    TIdTCPServer(const TIdTCPServer&) = delete;
    TIdTCPServer& operator=(const TIdTCPServer&) = delete;

    bool Active() const { return active_; }
    // Setting the value it has does nothing.
    void SetActive(bool value);

    TIdSocketHandles& Bindings() { return bindings_; }
    std::int32_t DefaultPort() const { return defaultPort_; }
    void SetDefaultPort(std::int32_t port) { defaultPort_ = port; }

    // A burst of connects beyond the queue is dropped and retried by the client after seconds.
    std::int32_t ListenQueue = platform::SocketMaxListenQueue();
    // At most this many live connections; a further one is closed at once. 0: no limit. Room for
    // a thousand idle connections and more, while the 32-bit program's threads still fit.
    std::int32_t MaxConnections = 2000;
    std::int32_t TerminateWaitTime = 5000;
    // Stack of each worker thread.
    std::size_t WorkerStackSize = 256 * 1024;

    // Starts a connection's worker thread: false when no thread could be made. A seam, so that
    // tests can make it fail; taken at start.
    using TThreadStarter = std::function<bool(std::size_t stackSize, std::function<void()> body)>;
    TThreadStarter StartThread;
    // Told, on the listener thread, why an accepted connection could not be served (no memory,
    // no thread); that connection is closed and accepting goes on. Taken at start.
    std::function<void(const std::string& message)> OnListenException;

    // Connections currently served (live workers).
    std::size_t LiveConnectionCount() const;

  protected:
    // What every worker runs on its connection; taken at start.
    virtual std::function<void(TIdPeerThread&)> MakeExecutor() = 0;
    // Derived destructors call this so that no worker runs their executor after them.
    void StopForDestruction();

  private:
    void Start();
    void Stop();

    std::int32_t defaultPort_ = 80;
    TIdSocketHandles bindings_{defaultPort_};
    bool active_ = false;
    std::shared_ptr<TIdServerState> state_;
};

} // namespace zir::http
