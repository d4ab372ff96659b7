#include "http/TIdTCPServer.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <list>
#include <mutex>
#include <thread>
#include <vector>

#include "http/EIdException.h"
#include "http/TIdIOHandlerSocket.h"
#include "platform/Sockets.h"
#include "platform/FreeMemory.h"
#include "platform/Threads.h"

namespace zir::http {

using platform::SocketErrorKind;

namespace {

struct TListener {
    platform::SocketHandle Socket = platform::kInvalidSocket;
    std::atomic<bool> StopRequested{false};
    std::thread Thread;
};

void Sleep(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace

// What listeners and workers share with the server; workers keep it alive, so a worker that
// outlives a failed stop never touches freed memory.
struct TIdServerState {
    std::mutex WorkersLock;
    std::list<std::shared_ptr<TIdPeerThread>> Workers;
    // Told whenever a worker has finished, so that a stop waits exactly as long as they take.
    std::condition_variable WorkerFinished;
    std::function<void(TIdPeerThread&)> Executor;
    std::int32_t MaxConnections = 0;
    std::size_t WorkerStackSize = 0;
    TIdTCPServer::TThreadStarter StartThread;
    std::function<void(const std::string&)> OnListenException;

    std::mutex ListenersLock;
    std::vector<std::unique_ptr<TListener>> Listeners;

    // The most connections open at once since memory was last handed back, and whether the
    // last of that burst's connections still owe it.
    std::size_t PeakSinceTrim = 0;
    bool TrimWhenEmpty = false;

    // A burst is over once three quarters of its connections have gone, and again when the last
    // has: then the memory they used goes back to the system, not on every close.
    bool BurstEndsWithLeaving() {
        std::lock_guard<std::mutex> guard(WorkersLock);
        constexpr std::size_t kBurst = 64;
        const std::size_t remaining = Workers.empty() ? 0 : Workers.size() - 1;
        if (PeakSinceTrim >= kBurst && remaining * 4 <= PeakSinceTrim) {
            PeakSinceTrim = remaining;
            TrimWhenEmpty = remaining > 0;
            return true;
        }
        if (remaining == 0 && TrimWhenEmpty) {
            TrimWhenEmpty = false;
            return true;
        }
        return false;
    }

    std::size_t LiveCount() {
        std::lock_guard<std::mutex> guard(WorkersLock);
        return Workers.size();
    }
};

namespace {

void RunWorker(const std::shared_ptr<TIdServerState>& state,
               const std::shared_ptr<TIdPeerThread>& worker) {
    TIdTCPConnection& connection = worker->Connection();
    try {
        if (connection.Connected()) {
            state->Executor(*worker);
        }
    } catch (...) {
        // Errors inside a connection end it; nothing reaches the client or the main window.
    }
    connection.IOHandler().Close();
    // Before leaving the list, so that a stop waits for it.
    if (state->BurstEndsWithLeaving())
        platform::ReturnFreeMemory();
    std::lock_guard<std::mutex> guard(state->WorkersLock);
    state->Workers.remove(worker);
    state->WorkerFinished.notify_all();
}

// Any failure here (no memory for the connection's objects, no thread) raises; the connection
// is closed by then, since whatever owns the socket closes it when it is discarded.
void StartWorker(const std::shared_ptr<TIdServerState>& state, platform::SocketHandle accepted) {
    std::unique_ptr<TIdIOHandlerSocket> io;
    try {
        io = std::make_unique<TIdIOHandlerSocket>(accepted);
    } catch (...) {
        platform::SocketClose(accepted);
        throw;
    }
    // The body follows the header block in a second send; without this the client's delayed
    // acknowledgement would hold it back for tens of milliseconds on every answer.
    platform::SocketSetNoDelay(accepted);
    auto worker =
        std::make_shared<TIdPeerThread>(std::make_unique<TIdTCPConnection>(std::move(io)));
    {
        std::lock_guard<std::mutex> guard(state->WorkersLock);
        if (state->MaxConnections > 0 &&
            state->Workers.size() >= static_cast<std::size_t>(state->MaxConnections)) {
            return; // the connection closes with the worker discarded here
        }
        state->Workers.push_back(worker);
        state->PeakSinceTrim = std::max(state->PeakSinceTrim, state->Workers.size());
    }
    bool started = false;
    try {
        started = state->StartThread(state->WorkerStackSize,
                                     [state, worker] { RunWorker(state, worker); });
    } catch (...) {
        std::lock_guard<std::mutex> guard(state->WorkersLock);
        state->Workers.remove(worker);
        throw;
    }
    if (!started) {
        {
            std::lock_guard<std::mutex> guard(state->WorkersLock);
            state->Workers.remove(worker);
        }
        throw EIdException(messages::kCannotStartThread);
    }
}

// Telling must not end the listener either, nor may the text it builds.
void TellListenFailure(const TIdServerState& state, const char* message) noexcept {
    try {
        if (state.OnListenException) {
            state.OnListenException(message);
        }
    } catch (...) {
    }
}

// An accepted connection that could not be served must not end the listener, or the program
// with it: the connection is closed, the failure told, and accepting goes on.
void ServeAccepted(const std::shared_ptr<TIdServerState>& state, platform::SocketHandle accepted) {
    try {
        StartWorker(state, accepted);
        return;
    } catch (const std::exception& error) {
        TellListenFailure(*state, error.what());
    } catch (...) {
        TellListenFailure(*state, "Unknown exception");
    }
    Sleep(100); // short of memory or threads: do not spin while it lasts
}

void RunListener(std::shared_ptr<TIdServerState> state, TListener* listener) {
    while (!listener->StopRequested.load()) {
        // Slices of 100 ms so that a stop is noticed without a connection arriving.
        int ready = platform::SocketWaitReadable(listener->Socket, 100);
        if (listener->StopRequested.load()) {
            break;
        }
        if (ready == 0) {
            continue;
        }
        platform::SocketHandle accepted = platform::kInvalidSocket;
        if (ready > 0) {
            accepted = platform::SocketAccept(listener->Socket);
        }
        if (accepted == platform::kInvalidSocket) {
            int error = platform::SocketLastError();
            SocketErrorKind kind = platform::ClassifySocketError(error);
            if (kind == SocketErrorKind::NotSocket) {
                break;
            }
            if (kind != SocketErrorKind::Interrupted) {
                Sleep(100); // e.g. out of descriptors: do not spin while it lasts
            }
            continue;
        }
        ServeAccepted(state, accepted);
    }
}

// Ends every listener: told to stop, its socket shut down (wakes an accept that would block),
// joined, then closed.
void StopListeners(TIdServerState& state) {
    std::lock_guard<std::mutex> guard(state.ListenersLock);
    for (auto& listener : state.Listeners) {
        listener->StopRequested.store(true);
        platform::SocketShutdown(listener->Socket, platform::SocketShutdownHow::Both);
        if (listener->Thread.joinable()) {
            listener->Thread.join();
        }
        platform::SocketClose(listener->Socket);
    }
    state.Listeners.clear();
}

std::string PortOutOfRangeMessage(std::int32_t port) {
    return "Port " + std::to_string(port) + " is out of range: use 0 to 65535.";
}

} // namespace

TIdTCPServer::TIdTCPServer() = default;

TIdTCPServer::~TIdTCPServer() {
    StopForDestruction();
}

std::size_t TIdTCPServer::LiveConnectionCount() const {
    return state_ ? state_->LiveCount() : 0;
}

void TIdTCPServer::SetActive(bool value) {
    if (value == active_) {
        return;
    }
    if (value) {
        Start();
    } else {
        Stop();
    }
}

void TIdTCPServer::Start() {
    if (bindings_.Count() == 0) {
        bindings_.Add().IP.clear();
    }
    for (std::size_t i = 0; i < bindings_.Count(); ++i) {
        std::int32_t port = bindings_[i].Port;
        if (port < 0 || port > 65535) {
            throw EIdException(PortOutOfRangeMessage(port));
        }
    }

    auto state = std::make_shared<TIdServerState>();
    state->Executor = MakeExecutor();
    state->MaxConnections = MaxConnections;
    state->WorkerStackSize = WorkerStackSize;
    state->StartThread = StartThread ? StartThread : TThreadStarter(platform::StartDetachedThread);
    state->OnListenException = OnListenException;

    try {
        for (std::size_t i = 0; i < bindings_.Count(); ++i) {
            TIdSocketHandle& binding = bindings_[i];
            platform::SocketHandle socket = platform::SocketCreateTcp();
            if (socket == platform::kInvalidSocket) {
                throw EIdException(messages::kCannotAllocateSocket);
            }
            auto listener = std::make_unique<TListener>();
            listener->Socket = socket;
            // A stop closes connections from this side; a start right after must still bind.
            platform::SocketAllowRebindAfterClose(socket);

            bool bound = false;
            int error = 0;
            if (binding.Port != 0 || binding.ClientPortMin == 0 || binding.ClientPortMax == 0) {
                bound = platform::SocketBind(socket, binding.IP,
                                             static_cast<std::uint16_t>(binding.Port));
                error = bound ? 0 : platform::SocketLastError();
            } else {
                for (std::int32_t p = binding.ClientPortMin;
                     !bound && p <= binding.ClientPortMax && p <= 65535; ++p) {
                    bound = p > 0 &&
                            platform::SocketBind(socket, binding.IP, static_cast<std::uint16_t>(p));
                    error = bound ? 0 : platform::SocketLastError();
                }
            }
            if (!bound || !platform::SocketListen(socket, ListenQueue)) {
                if (bound) {
                    error = platform::SocketLastError();
                }
                platform::SocketClose(socket);
                if (platform::ClassifySocketError(error) == SocketErrorKind::AddressInUse) {
                    throw EIdCouldNotBindSocket();
                }
                RaiseSocketError(error);
            }
            std::string localIP;
            std::uint16_t localPort = 0;
            if (platform::SocketLocalAddress(socket, localIP, localPort)) {
                binding.Port = localPort;
            }
            binding.handle_ = socket;

            TListener* raw = listener.get();
            {
                std::lock_guard<std::mutex> guard(state->ListenersLock);
                state->Listeners.push_back(std::move(listener));
            }
            raw->Thread = std::thread(RunListener, state, raw);
        }
    } catch (...) {
        StopListeners(*state);
        for (std::size_t i = 0; i < bindings_.Count(); ++i) {
            bindings_[i].handle_ = platform::kInvalidSocket;
        }
        throw;
    }
    state_ = std::move(state);
    active_ = true;
}

void TIdTCPServer::Stop() {
    if (!state_) {
        active_ = false;
        return;
    }
    StopListeners(*state_);
    for (std::size_t i = 0; i < bindings_.Count(); ++i) {
        bindings_[i].handle_ = platform::kInvalidSocket;
    }
    {
        std::lock_guard<std::mutex> guard(state_->WorkersLock);
        for (auto& worker : state_->Workers) {
            worker->Stop();
            worker->Connection().Abort();
        }
    }
    bool finished = false;
    {
        std::unique_lock<std::mutex> guard(state_->WorkersLock);
        finished = state_->WorkerFinished.wait_for(
            guard, std::chrono::milliseconds(std::max<std::int32_t>(TerminateWaitTime, 0)),
            [this] { return state_->Workers.empty(); });
    }
    if (!finished) {
        throw EIdException(messages::kTerminateThreadTimeout);
    }
    state_.reset();
    active_ = false;
}

void TIdTCPServer::StopForDestruction() {
    // Waits as long as handlers take: their captured objects must outlive them.
    while (active_) {
        try {
            Stop();
        } catch (...) {
            Sleep(250);
        }
    }
}

} // namespace zir::http
