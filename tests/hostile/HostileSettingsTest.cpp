// Attempts on who may read the card, through the settings file and through what a page of
// another site can make a browser send, against the real service.

#include "OriginRequests.h"
#include "ServiceFixture.h"

#include <gtest/gtest.h>

#include <algorithm>

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
