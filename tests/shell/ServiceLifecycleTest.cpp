// Start-up, single instance, settings reload and shut-down of the real service.

#include "ServiceFixture.h"

#include <arpa/inet.h>
#include <csignal>
#include <gtest/gtest.h>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace zir::test;

namespace {
const char* const kCard = "CardType=1\nName=李四\nUid=0102\n";
}

TEST(ServiceLifecycle, APortHeldByAnotherProgramFailsTheStartAndEndsWithOne) {
    TempDir dir;
    int holder = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(holder, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(holder, 1), 0);
    socklen_t length = sizeof address;
    getsockname(holder, reinterpret_cast<sockaddr*>(&address), &length);
    int port = ntohs(address.sin_port);

    WriteFileBytes(dir.File("zir.INI"), "WebPort=" + std::to_string(port) + "\r\n");
    // The established line alone, then where and why.
    const std::string reason = "SERVER START FAIL --> [127.0.0.1:" + std::to_string(port) +
                               "] Could not bind socket. Address and port are already in use.";
    if (TestingWindowsProgram()) {
        // The tray program stays in the tray with the failure in its log: its start button can
        // try again once the port is free.
        ServiceProcess process(ZirPath(), {"--simulate", "--config", dir.File("zir.INI")},
                               dir.Path());
        EXPECT_TRUE(process.WaitForLine("SERVER START FAIL -->"));
        close(holder);
        ASSERT_GE(process.Lines().size(), 2u);
        EXPECT_EQ(process.Lines().at(0), "SERVER START FAIL...");
        EXPECT_EQ(process.Lines().at(1), reason);
        process.Signal(SIGTERM);
        EXPECT_EQ(process.Wait(), 0);
        return;
    }
    auto result = RunZir({"--simulate", "--config", dir.File("zir.INI")}, dir.Path());
    close(holder);
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_EQ(result.Out, "SERVER START FAIL...\n" + reason + "\n");
}

TEST(ServiceLifecycle, ASecondInstanceOnTheSameSettingsIsRefusedAnotherOneRuns) {
    ZIR_SKIP_UNLESS_LINUX_PROGRAM("one instance per session, whose notice is a box that waits "
                                  "for OK: the GUI tests answer it");
    ZirService first(kCard);
    auto second = RunZir({"--simulate", "--config", first.ConfigFile}, first.Dir.Path());
    EXPECT_EQ(second.ExitCode, 1);
    EXPECT_EQ(second.Err, "zir服务已启动\n");
    EXPECT_EQ(second.Out, "");

    ZirService other(kCard); // its own settings file: runs side by side
    EXPECT_EQ(other.Get("/?type=UID").Body.find("0102") != std::string::npos, true);
    EXPECT_EQ(first.Get("/?type=UID").Body.find("0102") != std::string::npos, true);
}

TEST(ServiceLifecycle, PortZeroIsSettledTo80AndSavedBeforeTheStart) {
    // Port 80 needs privileges the test may not have: only the saved file is checked.
    TempDir dir;
    WriteFileBytes(dir.File("zir.INI"), "WebPort=0\r\nWebType=5\r\n");
    ServiceProcess process(ZirPath(), {"--simulate", "--config", dir.File("zir.INI")}, dir.Path());
    ASSERT_TRUE(process.WaitForLine("SERVER START"));
    EXPECT_EQ(ReadFileBytes(dir.File("zir.INI")),
              "WebPort=80\r\nWebType=5\r\nWebCache=1\r\nWebSound=1\r\n");
    process.Signal(SIGTERM);
    process.Wait();
}

TEST(ServiceLifecycle, AfterAFailedLoadPortZeroIsSettledTo80InMemoryOnly) {
    ZIR_SKIP_UNLESS_LINUX_PROGRAM("the Windows program shows the load's message in a box that "
                                  "waits for OK before the service starts");
    // A typing mistake in the port: the start must not replace the user's file by the few
    // values the load got before it.
    TempDir dir;
    const std::string broken = "WebPort=abc\r\nWebType=1\r\nWebCache=0\r\n"
                               "WebOrigins=https://desk.example.com\r\n";
    WriteFileBytes(dir.File("zir.INI"), broken);
    ServiceProcess process(ZirPath(), {"--simulate", "--config", dir.File("zir.INI")}, dir.Path());
    ASSERT_TRUE(process.WaitForLine("SERVER START"));
    EXPECT_EQ(ReadFileBytes(dir.File("zir.INI")), broken);
    process.Signal(SIGTERM);
    process.Wait();
    EXPECT_EQ(ReadFileBytes(dir.File("zir.INI")), broken);
}

TEST(ServiceLifecycle, ANewPortByReloadStopsAndStartsTheService) {
    ZirService service(kCard);
    int oldPort = service.Port;
    service.Port = FreeLoopbackPort();
    service.Reload({});
    EXPECT_EQ(service.NextLogLine("=="), "==SERVER STOP SUCCESS...");
    EXPECT_EQ(service.NextLogLine("=="),
              "==SERVER START SUCCESS --> [127.0.0.1:" + std::to_string(service.Port) + "]");
    EXPECT_FALSE(RawHttpClient::CanConnect(oldPort, "127.0.0.1"));
    EXPECT_NE(service.Get("/?type=UID").Body.find("0102"), std::string::npos);

    // A file that cannot be loaded changes nothing.
    WriteFileBytes(service.ConfigFile, "WebPort=12x\r\n");
    service.Process->Signal(SIGHUP);
    for (int i = 0;
         i < 300 && service.Process->Stderr().find("settings unchanged") == std::string::npos; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_NE(service.Process->Stderr().find(
                  "系统参数加载失败，请核查。['12x' is not a valid integer value]"),
              std::string::npos);
    EXPECT_NE(service.Get("/?type=UID").Body.find("0102"), std::string::npos);
}

TEST(ServiceLifecycle, SigtermDuringASlowReadStillAnswersOrClosesAndEndsWithZero) {
    // Each reader call takes 400 ms: a full read outlasts the stop's five-second wait once.
    ZirService service(std::string(kCard) + "DelayMs=400\n", {.WebCache = 0});
    RawHttpClient client(service.Port);
    client.Send(GetRequest("/"));
    ASSERT_TRUE(service.NextLogLine("##REQUEST"));
    service.Process->Signal(SIGTERM);
    std::string answer = client.ReadAvailable(std::chrono::seconds(30));
    EXPECT_TRUE(answer.empty() || answer.rfind("HTTP/1.1 200 OK\r\n", 0) == 0) << answer;
    EXPECT_EQ(service.Process->Wait(std::chrono::seconds(30)), 0);
    auto lines = service.Process->Lines();
    EXPECT_EQ(lines.back(), "==SERVER STOP SUCCESS...");
}

TEST(ServiceLifecycle, OnlyTheLoopbackAddressAnswers) {
    ZirService service(kCard);
    EXPECT_TRUE(RawHttpClient::CanConnect(service.Port, "127.0.0.1"));
    EXPECT_FALSE(RawHttpClient::CanConnect(service.Port, "127.0.0.2"));
    // Every other address of this machine is refused too.
    ifaddrs* all = nullptr;
    ASSERT_EQ(getifaddrs(&all), 0);
    for (ifaddrs* a = all; a; a = a->ifa_next) {
        if (!a->ifa_addr || a->ifa_addr->sa_family != AF_INET)
            continue;
        char text[INET_ADDRSTRLEN];
        inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(a->ifa_addr)->sin_addr, text,
                  sizeof text);
        if (std::string(text) != "127.0.0.1") {
            EXPECT_FALSE(RawHttpClient::CanConnect(service.Port, text)) << text;
        }
    }
    freeifaddrs(all);
}

TEST(ServiceLifecycle, ZirSettingsWithAChangeTellsTheRunningServiceWhichAppliesItAtTheNextRequest) {
    ZirService service(kCard, {.WebType = 0, .WebCache = 0});
    EXPECT_EQ(service.Get("/").Body.rfind(R"({"statusCode":"200",)", 0), 0u);
    auto saved =
        RunZir({"settings", "--config", service.ConfigFile, "WebType=1"}, service.Dir.Path());
    EXPECT_EQ(saved.ExitCode, 0) << saved.Err;
    for (int i = 0;
         i < 500 && service.Process->Stderr().find("settings reloaded") == std::string::npos; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(
        service.Get("/").Body.rfind(R"({"resultFlag":"0","resultContent":{"chName":"李四",)", 0),
        0u);
}
