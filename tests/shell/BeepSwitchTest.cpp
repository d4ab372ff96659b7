// The reader's beep is a reader call like any other: in the running service it waits for the
// read in progress, and `zir settings` in a second process never touches the reader at all.

#include "ServiceFixture.h"

#include <gtest/gtest.h>

#include <thread>

using namespace zir::test;

TEST(BeepSwitch, ASoundChangeDuringASlowReadWaitsForTheRead) {
    // Every reader call takes 150 ms: a full read is inside the library for about two seconds.
    ZirService service("CardType=1\nName=王五\nUid=0A0B\nDelayMs=150\n",
                       {.WebCache = 0, .WebSound = 1});
    RawHttpClient client(service.Port);
    client.Send(GetRequest("/"));
    ASSERT_TRUE(service.NextLogLine("##REQUEST"));

    // The dialog's save from another process: it writes the file and tells the service, which
    // switches the beep when it reloads.
    auto saved =
        RunZir({"settings", "--config", service.ConfigFile, "WebSound=0"}, service.Dir.Path());
    EXPECT_EQ(saved.ExitCode, 0) << saved.Err;
    EXPECT_EQ(saved.Out, "服务设置已变更，请重启zir服务。\n");

    auto answer = client.ReadResponse();
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->Body.rfind(R"({"statusCode":"200","cardType":"身份证","name":"王五",)", 0),
              0u)
        << answer->Body;
    for (int i = 0;
         i < 500 && service.Process->Stderr().find("settings reloaded") == std::string::npos; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_NE(service.Process->Stderr().find("zir: settings reloaded"), std::string::npos);
    // Two reader calls at once would corrupt a real reader; the simulator reports each one.
    EXPECT_EQ(service.Process->Stderr().find("zir simulator: warning"), std::string::npos)
        << service.Process->Stderr();
}

TEST(BeepSwitch, AReloadBySignalDuringASlowReadWaitsForTheRead) {
    ZirService service("CardType=1\nName=王五\nUid=0A0B\nDelayMs=150\n",
                       {.WebCache = 0, .WebSound = 0});
    RawHttpClient client(service.Port);
    client.Send(GetRequest("/"));
    ASSERT_TRUE(service.NextLogLine("##REQUEST"));
    service.Reload({.WebCache = 0, .WebSound = 1});
    auto answer = client.ReadResponse();
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->Body.rfind(R"({"statusCode":"200",)", 0), 0u) << answer->Body;
    EXPECT_EQ(service.Process->Stderr().find("zir simulator: warning"), std::string::npos)
        << service.Process->Stderr();
}
