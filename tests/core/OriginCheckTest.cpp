#include "core/OriginCheck.h"
#include "platform/Text.h"

#include <gtest/gtest.h>

using zir::config::ParseWebOrigins;
using zir::core::DecideOrigin;
using zir::core::TOriginDecision;

namespace {

struct Case {
    const char* origin;
    const char* host;
    bool allowed;
    const char* allowOrigin; // allowed: the Access-Control-Allow-Origin value
    bool vary;
    const char* logLine; // refused
};

void ExpectDecisions(const char* setting, std::initializer_list<Case> cases) {
    const auto rules = ParseWebOrigins(setting);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(setting) + " / Origin: " + c.origin + " / Host: " + c.host);
        const TOriginDecision decision = DecideOrigin(c.origin, c.host, rules);
        EXPECT_EQ(decision.Allowed, c.allowed);
        if (c.allowed) {
            EXPECT_EQ(decision.AllowOrigin, c.allowOrigin);
            EXPECT_EQ(decision.VaryOrigin, c.vary);
            EXPECT_EQ(decision.LogLine, "");
        } else {
            EXPECT_EQ(decision.LogLine, c.logLine);
        }
    }
}

} // namespace

TEST(OriginCheck, WithoutAListEveryRequestIsAnsweredAsAlways) {
    for (const char* setting : {"", "*"})
        ExpectDecisions(setting, {
                                     {"", "", true, "*", false, ""},
                                     {"https://evil.example", "127.0.0.1:80", true, "*", false, ""},
                                     {"https://evil.example", "evil.example", true, "*", false, ""},
                                     {"not an origin", "", true, "*", false, ""},
                                 });
}

TEST(OriginCheck, AListedOriginIsAnsweredForItselfAndOthersAreRefused) {
    ExpectDecisions(
        "https://desk.example.com http://intranet:8080 null",
        {
            {"https://desk.example.com", "127.0.0.1:8000", true, "https://desk.example.com", true,
             ""},
            // Echoed as the browser sent it: that is what it compares with.
            {"HTTPS://Desk.Example.com:443", "localhost", true, "HTTPS://Desk.Example.com:443",
             true, ""},
            {"http://intranet:8080", "127.0.0.1", true, "http://intranet:8080", true, ""},
            {"null", "127.0.0.1:8000", true, "null", true, ""},
            // No Origin: a program, not a page; served as always.
            {"", "127.0.0.1:8000", true, "*", false, ""},
            {"", "", true, "*", false, ""},
            {"https://evil.example", "127.0.0.1:8000", false, "", false,
             "##REQUEST REFUSED --> [ORIGIN: https://evil.example; not in WebOrigins]"},
            {"http://intranet", "127.0.0.1:8000", false, "", false,
             "##REQUEST REFUSED --> [ORIGIN: http://intranet; not in WebOrigins]"},
            {"https://desk.example.com/x", "127.0.0.1", false, "", false,
             "##REQUEST REFUSED --> [ORIGIN: https://desk.example.com/x; not in WebOrigins]"},
        });
}

TEST(OriginCheck, WithAListTheHostMustBeTheLoopbackService) {
    const auto rules = ParseWebOrigins("https://desk.example.com");
    for (const char* host : {"127.0.0.1", "127.0.0.1:8000", "localhost", "LocalHost:65535"}) {
        const TOriginDecision decision = DecideOrigin("https://desk.example.com", host, rules);
        EXPECT_TRUE(decision.Allowed) << host;
        EXPECT_EQ(decision.AllowOrigin, "https://desk.example.com") << host;
    }
    // A page of a listed site whose own name was pointed at 127.0.0.1, near misses, and a
    // program's request too: the Host rule comes first.
    for (const char* origin : {"https://desk.example.com", ""}) {
        for (const char* host :
             {"evil.example:8000", "evil.example", "127.0.0.2:8000", "localhost.:8000",
              "127.0.0.1:", "127.0.0.1:99999", "[::1]:8000", "127.0.0.1:80:80", "localhost:8o"}) {
            const TOriginDecision decision = DecideOrigin(origin, host, rules);
            EXPECT_FALSE(decision.Allowed) << host;
            EXPECT_EQ(decision.LogLine, std::string("##REQUEST REFUSED --> [HOST: ") + host +
                                            "; not 127.0.0.1 or localhost]");
        }
    }
}

TEST(OriginCheck, ABadSettingRefusesEveryOriginAndSaysWhy) {
    ExpectDecisions(
        "https://desk.example.com/",
        {
            {"https://desk.example.com", "127.0.0.1", false, "", false,
             "##REQUEST REFUSED --> [ORIGIN: https://desk.example.com; WebOrigins: "
             "'https://desk.example.com/' is not an origin (scheme://host[:port], null or *)]"},
            {"", "127.0.0.1", true, "*", false, ""},
        });
}

TEST(OriginCheck, WithAListACrossSiteRequestWithoutOriginIsRefusedOthersAreNot) {
    const auto list = ParseWebOrigins("https://desk.example.com");
    // An <img>, a frame or a navigation from another site's page sends no Origin; the browser
    // still says where it comes from.
    for (const char* site : {"cross-site", "Cross-Site", " cross-site "}) {
        const TOriginDecision d = DecideOrigin("", "127.0.0.1", site, list);
        EXPECT_FALSE(d.Allowed) << site;
        EXPECT_EQ(d.LogLine, "##REQUEST REFUSED --> [SEC-FETCH-SITE: " +
                                 std::string(zir::platform::TrimBlanksAndControls(site)) +
                                 "; a page of another site, without Origin]");
    }
    for (const char* site : {"", "none", "same-origin", "same-site", "cross-site-ish"}) {
        const TOriginDecision d = DecideOrigin("", "127.0.0.1", site, list);
        EXPECT_TRUE(d.Allowed) << site;
        EXPECT_EQ(d.AllowOrigin, "*");
        EXPECT_TRUE(d.NoStore);
    }
    // A listed page's own cross-site fetch carries its Origin, which decides.
    EXPECT_TRUE(DecideOrigin("https://desk.example.com", "", "cross-site", list).Allowed);
    // Without a list nothing changes, to the byte.
    const TOriginDecision open = DecideOrigin("", "", "cross-site", ParseWebOrigins(""));
    EXPECT_TRUE(open.Allowed);
    EXPECT_FALSE(open.NoStore);
}
