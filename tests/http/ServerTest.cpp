// The server on real loopback sockets: start, stop, bindings and whole exchanges.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "LoopbackClient.h"
#include "http/EIdException.h"
#include "http/TIdHTTPServer.h"
#include "platform/Threads.h"

using namespace zir::http;
using zir::test::FreeLoopbackPort;
using zir::test::LoopbackClient;

namespace {

using Clock = std::chrono::steady_clock;

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& error) {
        return error.what();
    }
    return "";
}

// The start sequence of the service: one binding on 127.0.0.1 and the given port.
void StartOn(TIdHTTPServer& server, std::int32_t port) {
    server.Bindings().Clear();
    server.SetDefaultPort(port);
    server.Bindings().Add().IP = "127.0.0.1";
    server.SetActive(true);
}

std::uint16_t BoundPort(TIdHTTPServer& server) {
    return static_cast<std::uint16_t>(server.Bindings()[0].Port);
}

void EchoPath(TIdPeerThread*, TIdHTTPRequestInfo& request, TIdHTTPResponseInfo& response) {
    response.ResponseBody = request.RequestPath;
}

// A listening socket held by "another program".
struct HeldPort {
    HeldPort() {
        socket = zir::platform::SocketCreateTcp();
        zir::platform::SocketBind(socket, "127.0.0.1", 0);
        zir::platform::SocketListen(socket, 1);
        std::string ip;
        zir::platform::SocketLocalAddress(socket, ip, port);
    }
    ~HeldPort() { zir::platform::SocketClose(socket); }
    zir::platform::SocketHandle socket;
    std::uint16_t port = 0;
};

} // namespace

TEST(Server, StartOnAHeldPortFailsAndALaterStartOnAFreePortWorks) {
    HeldPort held;
    TIdHTTPServer server;
    server.KeepAlive = true;
    server.OnCommandGet = EchoPath;
    EXPECT_EQ(ErrorOf([&] { StartOn(server, held.port); }),
              "Could not bind socket. Address and port are already in use.");
    EXPECT_FALSE(server.Active());

    StartOn(server, 0);
    EXPECT_TRUE(server.Active());
    EXPECT_EQ(server.DefaultPort(), 0);
    EXPECT_NE(BoundPort(server), 0);
    EXPECT_EQ(server.Bindings()[0].IP, "127.0.0.1");
    server.SetActive(true); // already active: nothing happens
    LoopbackClient client;
    ASSERT_TRUE(client.Connect(BoundPort(server)));
    client.Send("GET /x HTTP/1.1\r\n\r\n");
    EXPECT_EQ(client.TakeUntil("/x", 2000).substr(0, 17), "HTTP/1.1 200 OK\r\n");
    server.SetActive(false);
    EXPECT_FALSE(server.Active());
    server.SetActive(false);
}

TEST(Server, PortsOutsideSixteenBitsAreRefused) {
    TIdHTTPServer server;
    server.OnCommandGet = EchoPath;
    for (std::int32_t port : {70000, -1}) {
        EXPECT_EQ(ErrorOf([&] { StartOn(server, port); }),
                  "Port " + std::to_string(port) + " is out of range: use 0 to 65535.");
        EXPECT_FALSE(server.Active());
        EXPECT_EQ(server.DefaultPort(), port);
    }
}

TEST(Server, EmptyBindingsListenOnEveryAddressWithDefaultPort) {
    TIdHTTPServer server;
    server.OnCommandGet = EchoPath;
    server.SetDefaultPort(0);
    server.SetActive(true);
    ASSERT_EQ(server.Bindings().Count(), 1u);
    EXPECT_EQ(server.Bindings()[0].IP, "");
    LoopbackClient client;
    EXPECT_TRUE(client.Connect(BoundPort(server)));
}

TEST(Server, OnlyTheBoundAddressAnswers) {
    TIdHTTPServer server;
    server.OnCommandGet = EchoPath;
    StartOn(server, 0);
    LoopbackClient other;
    // Another loopback address of this machine is not listened on.
    EXPECT_FALSE(other.Connect(BoundPort(server), "127.0.0.2"));
    LoopbackClient local;
    EXPECT_TRUE(local.Connect(BoundPort(server), "127.0.0.1"));
}

TEST(Server, IdleAndKeptAliveClientsDoNotDelayStop) {
    TIdHTTPServer server;
    server.KeepAlive = true;
    server.OnCommandGet = EchoPath;
    StartOn(server, 0);
    LoopbackClient idle;
    LoopbackClient kept;
    ASSERT_TRUE(idle.Connect(BoundPort(server)));
    ASSERT_TRUE(kept.Connect(BoundPort(server)));
    kept.Send("GET /k HTTP/1.1\r\n\r\n");
    EXPECT_NE(kept.TakeUntil("/k", 2000).find("\r\n\r\n/k"), std::string::npos);
    for (int i = 0; i < 100 && server.LiveConnectionCount() < 2; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(server.LiveConnectionCount(), 2u);

    auto begun = Clock::now();
    server.SetActive(false);
    EXPECT_LT(Clock::now() - begun, std::chrono::seconds(2));
    std::string rest;
    EXPECT_TRUE(idle.WaitClosed(rest, 2000));
    EXPECT_TRUE(kept.WaitClosed(rest, 2000));
}

TEST(Server, ABusyHandlerMakesStopFailUntilItReturns) {
    std::atomic<bool> release{false};
    std::atomic<bool> entered{false};
    TIdHTTPServer server;
    server.KeepAlive = true;
    server.OnCommandGet = [&](TIdPeerThread*, TIdHTTPRequestInfo&, TIdHTTPResponseInfo&) {
        entered = true;
        while (!release) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    };
    StartOn(server, 0);
    std::uint16_t port = BoundPort(server);
    LoopbackClient client;
    ASSERT_TRUE(client.Connect(port));
    client.Send("GET / HTTP/1.1\r\n\r\n");
    for (int i = 0; i < 200 && !entered; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(entered);

    auto begun = Clock::now();
    EXPECT_EQ(ErrorOf([&] { server.SetActive(false); }), "Terminate Thread Timeout");
    EXPECT_GE(Clock::now() - begun, std::chrono::milliseconds(4900));
    EXPECT_TRUE(server.Active());
    // The listening socket is already closed.
    LoopbackClient late;
    EXPECT_FALSE(late.Connect(port));
    server.SetActive(true); // still counted active: nothing happens

    release = true;
    server.SetActive(false);
    EXPECT_FALSE(server.Active());
    std::string received;
    EXPECT_TRUE(client.WaitClosed(received, 2000));
    EXPECT_EQ(received, ""); // the answer could not go out on the closed socket
}

TEST(Server, WholeExchangesOverTheWire) {
    TIdHTTPServer server;
    server.KeepAlive = true;
    server.OnCommandGet = [](TIdPeerThread*, TIdHTTPRequestInfo& request,
                             TIdHTTPResponseInfo& response) {
        if (request.RequestPath == "/fail") {
            throw EIdException("!");
        }
        if (request.RequestPath != "/favicon.ico") {
            response.ResponseBody = request.RequestPath + "|" + request.ParamText();
        }
    };
    StartOn(server, 0);
    LoopbackClient client;
    ASSERT_TRUE(client.Connect(BoundPort(server)));

    client.Send("GET /favicon.ico HTTP/1.1\r\n\r\n");
    EXPECT_EQ(client.TakeUntil("\r\n\r\n", 2000), "HTTP/1.1 200 OK\r\nConnection: keep-alive\r\n"
                                                  "Content-Type: text/html\r\nContent-Length: 0\r\n"
                                                  "Server: Indy/9.00.10\r\n\r\n");
    client.Send("GET /fail HTTP/1.0\r\nConnection: close\r\n\r\n");
    std::string failed = client.TakeUntil("!", 2000);
    EXPECT_EQ(failed.substr(0, 36), "HTTP/1.1 500 Internal Server Error\r\n");
    EXPECT_NE(failed.find("Connection: keep-alive\r\n"), std::string::npos);
    EXPECT_NE(failed.find("Content-Length: 1\r\n"), std::string::npos);
    EXPECT_EQ(failed.back(), '!');

    // A line of exactly 16384 bytes before its LF passes; the CR makes 16385 and fails.
    std::string target = "/" + std::string(16384 - 13 - 1, 'a');
    std::string line = "GET " + target + " HTTP/1.1"; // 16384 bytes
    ASSERT_EQ(line.size(), 16384u);
    client.Send(line + "\n\n");
    std::string answer = client.TakeUntil(target + "|", 2000);
    EXPECT_NE(answer.find(target + "|"), std::string::npos);
    client.Send(line + "\r\n\r\n");
    std::string rest;
    EXPECT_TRUE(client.WaitClosed(rest, 2000));
    EXPECT_EQ(rest, "");
}

TEST(Server, ConnectionsBeyondMaxConnectionsAreClosedAtOnce) {
    TIdHTTPServer server;
    server.KeepAlive = true;
    server.MaxConnections = 2;
    server.OnCommandGet = EchoPath;
    StartOn(server, 0);
    LoopbackClient a;
    LoopbackClient b;
    LoopbackClient c;
    ASSERT_TRUE(a.Connect(BoundPort(server)));
    ASSERT_TRUE(b.Connect(BoundPort(server)));
    for (int i = 0; i < 100 && server.LiveConnectionCount() < 2; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(c.Connect(BoundPort(server)));
    std::string received;
    EXPECT_TRUE(c.WaitClosed(received, 2000));
    EXPECT_EQ(received, "");
    a.Close();
    for (int i = 0; i < 100 && server.LiveConnectionCount() > 1; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    LoopbackClient d;
    ASSERT_TRUE(d.Connect(BoundPort(server)));
    d.Send("GET /d HTTP/1.1\r\n\r\n");
    EXPECT_NE(d.TakeUntil("/d", 2000).find("\r\n\r\n/d"), std::string::npos);
}

TEST(Server, DestroyingTheServerStopsIt) {
    std::uint16_t port = 0;
    LoopbackClient client;
    {
        TIdHTTPServer server;
        server.OnCommandGet = EchoPath;
        StartOn(server, 0);
        port = BoundPort(server);
        ASSERT_TRUE(client.Connect(port));
    }
    std::string received;
    EXPECT_TRUE(client.WaitClosed(received, 2000));
    LoopbackClient late;
    EXPECT_FALSE(late.Connect(port));
}

TEST(Server, RestartsOnTheSamePortRightAfterServingConnections) {
    TIdHTTPServer server;
    server.KeepAlive = true;
    server.OnCommandGet = EchoPath;
    StartOn(server, 0);
    std::uint16_t port = BoundPort(server);
    LoopbackClient client;
    ASSERT_TRUE(client.Connect(port));
    client.Send("GET /a HTTP/1.1\r\n\r\n");
    EXPECT_NE(client.TakeUntil("/a", 2000).find("/a"), std::string::npos);
    // Stop closes the connection from this side, which leaves it waiting in TIME_WAIT.
    server.SetActive(false);
    std::string rest;
    EXPECT_TRUE(client.WaitClosed(rest, 2000));
    client.Close();

    StartOn(server, port);
    EXPECT_TRUE(server.Active());
    ASSERT_TRUE(client.Connect(port));
    client.Send("GET /b HTTP/1.1\r\n\r\n");
    EXPECT_NE(client.TakeUntil("/b", 2000).find("/b"), std::string::npos);
}

TEST(Server, ManySimultaneousConnectionsEachGetTheirOwnWorker) {
    std::atomic<int> inside{0};
    std::atomic<int> most{0};
    TIdHTTPServer server;
    server.KeepAlive = true;
    server.OnCommandGet = [&](TIdPeerThread*, TIdHTTPRequestInfo& request,
                              TIdHTTPResponseInfo& response) {
        int now = ++inside;
        for (int seen = most; now > seen && !most.compare_exchange_weak(seen, now);) {
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        --inside;
        response.ResponseBody = request.RequestPath;
    };
    StartOn(server, 0);
    constexpr int kClients = 50;
    std::vector<std::unique_ptr<LoopbackClient>> clients;
    for (int i = 0; i < kClients; ++i) {
        clients.push_back(std::make_unique<LoopbackClient>());
        ASSERT_TRUE(clients.back()->Connect(BoundPort(server)));
        clients.back()->Send("GET /" + std::to_string(i) + " HTTP/1.1\r\n\r\n");
    }
    for (int i = 0; i < kClients; ++i) {
        std::string answer = clients[i]->TakeUntil("/" + std::to_string(i), 3000);
        EXPECT_NE(answer.find("\r\n\r\n/" + std::to_string(i)), std::string::npos) << i;
    }
    EXPECT_GT(most.load(), 1); // handlers of different connections ran at the same time
    EXPECT_EQ(server.LiveConnectionCount(), static_cast<std::size_t>(kClients));
}

TEST(Server, AConnectionWhoseThreadCannotStartIsClosedToldAndAcceptingGoesOn) {
    TIdHTTPServer server;
    server.KeepAlive = true;
    server.OnCommandGet = EchoPath;
    std::atomic<int> starts{0};
    server.StartThread = [&](std::size_t stackSize, std::function<void()> body) {
        int attempt = starts++;
        if (attempt == 0)
            throw std::bad_alloc(); // no memory for the thread's objects
        if (attempt == 1)
            return false; // the system made no thread
        return zir::platform::StartDetachedThread(stackSize, std::move(body));
    };
    std::mutex lock;
    std::vector<std::string> told;
    server.OnListenException = [&](const std::string& message) {
        std::lock_guard guard(lock);
        told.push_back(message);
    };
    StartOn(server, 0);

    for (int i = 0; i < 2; ++i) {
        LoopbackClient refused;
        ASSERT_TRUE(refused.Connect(BoundPort(server)));
        refused.Send("GET /lost HTTP/1.1\r\n\r\n");
        std::string received;
        EXPECT_TRUE(refused.WaitClosed(received)) << i;
        EXPECT_EQ(received, "") << i;
    }
    LoopbackClient served;
    ASSERT_TRUE(served.Connect(BoundPort(server)));
    served.Send("GET /served HTTP/1.1\r\n\r\n");
    EXPECT_NE(served.TakeUntil("/served").find("\r\n\r\n/served"), std::string::npos);

    std::lock_guard guard(lock);
    EXPECT_EQ(told, (std::vector<std::string>{"std::bad_alloc",
                                              "Cannot start a thread for the connection."}));
    EXPECT_EQ(server.LiveConnectionCount(), 1u);
}
