// Line, byte and write rules of a connection, over the in-memory transport.

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "http/EIdException.h"
#include "http/TIdIOHandlerMemory.h"
#include "http/TIdTCPConnection.h"

using zir::http::TIdIOHandlerMemory;
using zir::http::TIdTCPConnection;

namespace {

struct MemoryConnection {
    explicit MemoryConnection(const std::string& input, std::size_t chunk = 32768) {
        auto io = std::make_unique<TIdIOHandlerMemory>(input, chunk);
        memory = io.get();
        connection = std::make_unique<TIdTCPConnection>(std::move(io));
    }
    TIdIOHandlerMemory* memory;
    std::unique_ptr<TIdTCPConnection> connection;
};

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& error) {
        return error.what();
    }
    return "";
}

} // namespace

TEST(Connection, LineEndsAreLfWithOneCrDropped) {
    MemoryConnection c("a\r\nb\nc\r\r\n\r\n", 3);
    EXPECT_EQ(c.connection->ReadLn(), "a");
    EXPECT_EQ(c.connection->ReadLn(), "b");
    EXPECT_EQ(c.connection->ReadLn(), "c\r");
    EXPECT_EQ(c.connection->ReadLn(), "");
    EXPECT_EQ(ErrorOf([&] { c.connection->ReadLn(); }), "Connection Closed Gracefully.");
}

TEST(Connection, LineLimitCountsEveryByteBeforeTheLfCrIncluded) {
    for (std::size_t chunk : {std::size_t{32768}, std::size_t{1000}}) {
        MemoryConnection exact(std::string(16384, 'x') + "\n", chunk);
        EXPECT_EQ(exact.connection->ReadLn().size(), 16384u);
        MemoryConnection exactCr(std::string(16383, 'x') + "\r\n", chunk);
        EXPECT_EQ(exactCr.connection->ReadLn().size(), 16383u);
        MemoryConnection over(std::string(16384, 'x') + "\r\n", chunk);
        EXPECT_EQ(ErrorOf([&] { over.connection->ReadLn(); }), "Max line length exceeded.");
        // No LF yet and more than the limit buffered: fails without waiting for the rest.
        MemoryConnection endless(std::string(40000, 'x'), chunk);
        EXPECT_EQ(ErrorOf([&] { endless.connection->ReadLn(); }), "Max line length exceeded.");
    }
}

TEST(Connection, PeerClosingInsideALineGivesAnEmptyLineAndKeepsTheBytes) {
    MemoryConnection c("par", 2);
    EXPECT_EQ(c.connection->ReadLn(), "");
    EXPECT_EQ(c.connection->InputBufferSize(), 3u);
    EXPECT_TRUE(c.connection->ClosedGracefully());
    EXPECT_EQ(c.connection->ReadLn(), "");
    EXPECT_EQ(ErrorOf([&] { c.connection->Write("x"); }), "Connection Closed Gracefully.");
}

TEST(Connection, ReadBytesAndReadUntilClose) {
    MemoryConnection c("line\r\n0123456789rest", 4);
    EXPECT_EQ(c.connection->ReadLn(), "line");
    std::string ten;
    c.connection->ReadBytes(ten, 10);
    EXPECT_EQ(ten, "0123456789");
    std::string rest;
    EXPECT_TRUE(c.connection->ReadUntilClose(rest, 100));
    EXPECT_EQ(rest, "rest");

    MemoryConnection shortBody("12345", 2);
    std::string got;
    EXPECT_EQ(ErrorOf([&] { shortBody.connection->ReadBytes(got, 6); }),
              "Connection Closed Gracefully.");

    MemoryConnection big(std::string(50, 'b'), 7);
    std::string bounded;
    EXPECT_FALSE(big.connection->ReadUntilClose(bounded, 49));
    EXPECT_LE(bounded.size(), 49u);
}

TEST(Connection, WriteBufferGoesOutInOnePiece) {
    MemoryConnection c("");
    c.connection->OpenWriteBuffer();
    c.connection->Write("HTTP/1.1 200 OK\r\n");
    c.connection->WriteLn("A: b");
    EXPECT_EQ(c.memory->SendCalls(), 0);
    c.connection->CloseWriteBuffer();
    EXPECT_EQ(c.memory->SendCalls(), 1);
    c.connection->Write("body");
    EXPECT_EQ(c.memory->Output(), "HTTP/1.1 200 OK\r\nA: b\r\nbody");
    c.connection->Disconnect();
    c.connection->Disconnect(); // a second close does nothing
    EXPECT_FALSE(c.connection->Connected());
    EXPECT_EQ(ErrorOf([&] { c.connection->Write("x"); }), "Connection Closed Gracefully.");
}

// What the README promises about the longest line is what a connection takes.
TEST(Connection, TheReadmesLineLimitIsTheConnections) {
    std::ifstream readme(std::string(ZIR_SOURCE_DIR) + "/README.md", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(readme)),
                           std::istreambuf_iterator<char>());
    const std::string stated = "A request line or header line may have ";
    const std::size_t at = text.find(stated);
    ASSERT_NE(at, std::string::npos);
    const std::size_t bytes = std::stoul(text.substr(at + stated.size()));
    MemoryConnection promised(std::string(bytes, 'x') + "\r\n");
    EXPECT_EQ(promised.connection->ReadLn().size(), bytes);
    MemoryConnection beyond(std::string(bytes + 1, 'x') + "\r\n");
    EXPECT_EQ(ErrorOf([&] { beyond.connection->ReadLn(); }), "Max line length exceeded.");
}
