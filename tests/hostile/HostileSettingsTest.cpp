// Attempts on who may read the card and on what the service answers, through the settings
// file, through what a page of another site can make a browser send and through a card that
// copies another's UID, against the real service.

#include "OriginRequests.h"
#include "ServiceFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

using namespace zir::test;

namespace {

const char* const kCard = "CardType=1\nName=张三\nUid=A1B2C3D4\n";
const std::string kEvil = "https://evil.example";

RawResponse AskUid(const ZirService& service, const std::string& origin,
                   const std::string& extraHeaders = "") {
    return AskOnce(service.Port,
                   BrowserRequest("GET", "/?type=UID", "127.0.0.1", origin, extraHeaders));
}

} // namespace

TEST(HostileSettings, AHandTypedWebOriginsLineWithBlanksOrAnotherCaseIsStillTheList) {
    for (const std::string line : {"WebOrigins =https://desk.example.com\r\n",
                                   " weborigins\t= https://desk.example.com\r\n"}) {
        SCOPED_TRACE(line);
        ZirService service(kCard, {.ExtraLines = line});
        EXPECT_EQ(AskUid(service, kEvil).Raw(), kRefusedAnswer);
        EXPECT_EQ(AskUid(service, "https://desk.example.com").StatusLine, "HTTP/1.1 200 OK");
    }
}

TEST(HostileSettings, AMistypedKeyIsNamedInOneWarningAtStartAndByZirSettings) {
    ZirService service(kCard, {.ExtraLines = "WebOrigin=https://desk.example.com\r\n"
                                             "WebPort =1\r\n"});
    const std::string warning = "ignored lines of the settings file, no key of WebPort, WebType, "
                                "WebCache, WebSound, WebOrigins: 'WebOrigin', 'WebPort '";
    auto lines = service.Process->Lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "==SETTINGS WARNING --> " + warning), 1)
        << service.Process->Stderr();
    ProgramResult shown = RunZir({"settings", "--config", service.ConfigFile}, service.Dir.Path());
    EXPECT_EQ(shown.Err, "zir settings: warning: " + warning + "\n");
}

TEST(HostileSettings, WithAListAnotherSitesImageFrameOrLinkGetsNoReaderCall) {
    ZirService service(kCard, {.WebOrigins = "https://desk.example.com"});
    const size_t from = service.SeenLines;
    // What <img src>, <iframe src>, <link href> or a navigation from another site send.
    for (const std::string target : {"/", "/?type=UID", "/events?read=1"}) {
        for (const std::string dest : {"image", "iframe", "style", "document"}) {
            SCOPED_TRACE(target + " as " + dest);
            const RawResponse r = AskOnce(
                service.Port, BrowserRequest("GET", target, "127.0.0.1", "",
                                             "Sec-Fetch-Site: cross-site\r\nSec-Fetch-Mode: "
                                             "no-cors\r\nSec-Fetch-Dest: " +
                                                 dest + "\r\n"));
            EXPECT_EQ(r.Raw(), kRefusedAnswer);
            EXPECT_EQ(service.NextLogLine("##"),
                      "##REQUEST REFUSED --> [SEC-FETCH-SITE: cross-site; a page of another "
                      "site, without Origin]");
        }
    }
    for (const std::string& line : service.LogLinesFrom(from)) {
        EXPECT_EQ(line.find("##REQUEST -->"), std::string::npos) << line;
        EXPECT_EQ(line.find("##EVENTS OPEN"), std::string::npos) << line;
    }
    // The user's own navigation, the same site's pages and programs are served, kept in no cache.
    for (const std::string site : {"none", "same-origin", "same-site", ""}) {
        SCOPED_TRACE(site);
        const RawResponse r =
            AskUid(service, "", site.empty() ? "" : "Sec-Fetch-Site: " + site + "\r\n");
        EXPECT_EQ(r.StatusLine, "HTTP/1.1 200 OK");
        EXPECT_EQ(r.Header("Cache-Control"), "no-store");
    }
    RawHttpClient events(service.Port);
    events.Send(BrowserRequest("GET", "/events", "127.0.0.1", "https://desk.example.com"));
    const auto head = events.ReadResponse(true);
    ASSERT_TRUE(head);
    EXPECT_EQ(head->Header("Cache-Control"), "no-cache, no-store");
}

TEST(HostileSettings, WithoutAListACrossSiteRequestIsAnsweredByteForByteAsBefore) {
    ZirService service(kCard);
    const RawResponse plain = AskUid(service, "");
    EXPECT_EQ(AskUid(service, "", "Sec-Fetch-Site: cross-site\r\n").Raw(), plain.Raw());
    EXPECT_EQ(plain.Header("Cache-Control"), "");
}

TEST(HostileSettings, NullInTheListIsWarnedOfAtStartReloadAndByZirSettings) {
    const std::string warning = "WebOrigins: null admits pages opened from a file and also the "
                                "sandboxed frames of every web site, which makes it as open as *";
    const std::string logLine = "==SETTINGS WARNING --> " + warning;
    ZirService service(kCard, {.WebOrigins = "https://desk.example.com null"});
    auto count = [&] {
        auto lines = service.Process->Lines();
        return std::count(lines.begin(), lines.end(), logLine);
    };
    EXPECT_EQ(count(), 1);
    // Such a frame on any site reads the card: what the warning is about.
    EXPECT_EQ(AskUid(service, "null", "Sec-Fetch-Site: cross-site\r\n").StatusLine,
              "HTTP/1.1 200 OK");

    auto settings = [&](const std::string& argument) {
        std::vector<std::string> args = {"settings", "--config", service.ConfigFile};
        if (!argument.empty())
            args.push_back(argument);
        return RunZir(args, service.Dir.Path());
    };
    EXPECT_EQ(settings("").Err, "zir settings: warning: " + warning + "\n");
    ProgramResult changed = settings("WebOrigins=null");
    EXPECT_EQ(changed.ExitCode, 0);
    EXPECT_EQ(changed.Err, "zir settings: warning: " + warning + "\n");
    ASSERT_TRUE(service.WaitForStderr("zir: settings reloaded"));
    for (int i = 0; i < 100 && count() < 2; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(count(), 2);

    // A list without it says nothing.
    changed = settings("WebOrigins=https://desk.example.com");
    EXPECT_EQ(changed.ExitCode, 0);
    EXPECT_EQ(changed.Err, "");
}

TEST(HostileSettings, ACardOfAnotherKindWithACopiedUidGetsNoCachedHolder) {
    ZirService service("CardType=1\nName=张三\nUid=A1B2C3D4\nUidCardType=16\n");
    ASSERT_NE(service.Get("/").Body.find("张三"), std::string::npos);
    ASSERT_EQ(service.NextLogLine("##DECODE"), "##DECODE SUCCESS --> 张三");
    // Any card can show a UID it was given; its UID read still says what kind of card it is.
    service.WriteCard("CardType=7\nName=李四\nUid=A1B2C3D4\nUidCardType=4\n");
    const RawResponse copy = service.Get("/");
    EXPECT_EQ(copy.Body.find("张三"), std::string::npos) << copy.Body;
    EXPECT_EQ(service.NextLogLine("##DECODE"), "##DECODE SUCCESS --> 李四");
}
