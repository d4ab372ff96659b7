#include "config/WebOrigins.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using zir::config::CanonicalOrigin;
using zir::config::ParseWebOrigins;
using zir::config::TWebOrigins;

TEST(WebOrigin, TheComparedFormIsLowerCaseWithoutTheDefaultPort) {
    struct Case {
        const char* text;
        const char* canonical; // nullptr: not an origin
    } cases[] = {
        {"https://desk.example.com", "https://desk.example.com"},
        {"HTTPS://Desk.Example.COM", "https://desk.example.com"},
        {"http://intranet:8080", "http://intranet:8080"},
        {"http://intranet:80", "http://intranet"},
        {"https://intranet:443", "https://intranet"},
        {"http://intranet:443", "http://intranet:443"}, // the other scheme's default stays
        {"https://intranet:80", "https://intranet:80"},
        {"http://intranet:00080", "http://intranet"},
        {"http://127.0.0.1:5173", "http://127.0.0.1:5173"},
        {"http://[::1]:3000", "http://[::1]:3000"},
        {"http://[FE80::1]", "http://[fe80::1]"},
        {"chrome-extension://abcdef", "chrome-extension://abcdef"},
        {"http://my_host.local", "http://my_host.local"},
        {"null", "null"},
        {"NULL", "null"},
        // Anything a browser never sends as an origin.
        {"", nullptr},
        {"*", nullptr},
        {"desk.example.com", nullptr},
        {"https://", nullptr},
        {"https:/desk", nullptr},
        {"://desk", nullptr},
        {"1http://desk", nullptr},
        {"ht tp://desk", nullptr},
        {"https://desk.example.com/", nullptr},
        {"https://desk.example.com/page", nullptr},
        {"https://desk.example.com?x", nullptr},
        {"https://user@desk.example.com", nullptr},
        {"https://desk:", nullptr},
        {"https://desk:0", nullptr},
        {"https://desk:65536", nullptr},
        {"https://desk:123456", nullptr},
        {"https://desk:8o", nullptr},
        {"https://desk:+80", nullptr},
        {"https://de sk", nullptr},
        {"https://桌面.example", nullptr}, // a browser sends the xn-- form
        {"http://[::1", nullptr},
        {"http://[]", nullptr},
        {"http://[::g]", nullptr},
        {"nul", nullptr},
    };
    for (const Case& c : cases) {
        const std::optional<std::string> canonical = CanonicalOrigin(c.text);
        if (c.canonical) {
            ASSERT_TRUE(canonical) << c.text;
            EXPECT_EQ(*canonical, c.canonical) << c.text;
        } else {
            EXPECT_FALSE(canonical) << c.text << " -> " << canonical.value_or("");
        }
    }
}

TEST(WebOriginsSetting, EmptyOrAStarAloneAllowsEveryOrigin) {
    for (const char* text : {"", "   ", " , ,\t", "*", " *, "}) {
        const TWebOrigins rules = ParseWebOrigins(text);
        EXPECT_TRUE(rules.AnyOrigin) << '"' << text << '"';
        EXPECT_EQ(rules.Error, "") << text;
        EXPECT_TRUE(rules.Allows("https://anything.example")) << text;
    }
    EXPECT_EQ(ParseWebOrigins(" , ").Text, ""); // nothing to write back
    EXPECT_EQ(ParseWebOrigins(" * ").Text, "*");
}

TEST(WebOriginsSetting, AListIsSplitAtBlanksAndCommasAndComparedCanonically) {
    const TWebOrigins rules =
        ParseWebOrigins("  https://Desk.example.com,http://intranet:80\tnull ,, http://intranet ");
    EXPECT_FALSE(rules.AnyOrigin);
    EXPECT_EQ(rules.Error, "");
    EXPECT_EQ(rules.Text, "https://Desk.example.com,http://intranet:80\tnull ,, http://intranet");
    EXPECT_EQ(rules.Origins,
              (std::vector<std::string>{"https://desk.example.com", "http://intranet", "null"}));

    struct Case {
        const char* origin;
        bool allowed;
    } cases[] = {
        {"https://desk.example.com", true},
        {"HTTPS://DESK.EXAMPLE.COM:443", true},
        {"http://intranet", true},
        {"null", true},
        {"http://desk.example.com", false},       // another scheme
        {"https://desk.example.com:8443", false}, // another port
        {"https://evil.desk.example.com", false},
        {"https://desk.example.com.evil", false},
        {"http://intranet:8080", false},
        {"https://desk.example.com/", false},
        {"https://desk.example.com https://other", false},
        {"*", false},
        {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(rules.Allows(c.origin), c.allowed) << c.origin;
}

TEST(WebOriginsSetting, ABadEntryIsNamedAndAllowsNoOriginAtAll) {
    struct Case {
        const char* text;
        const char* error;
    } cases[] = {
        {"https://desk.example.com/",
         "WebOrigins: 'https://desk.example.com/' is not an origin (scheme://host[:port], null or "
         "*)"},
        {"https://a.example desk.example.com",
         "WebOrigins: 'desk.example.com' is not an origin (scheme://host[:port], null or *)"},
        {"http://a:99999",
         "WebOrigins: 'http://a:99999' is not an origin (scheme://host[:port], null or *)"},
        {"https://a.example;https://b.example", "WebOrigins: 'https://a.example;https://b.example' "
                                                "is not an origin (scheme://host[:port], "
                                                "null or *)"},
        {"https://a.example *", "WebOrigins: '*' (every origin) cannot stand in a list of origins"},
        {"**", "WebOrigins: '**' is not an origin (scheme://host[:port], null or *)"},
    };
    for (const Case& c : cases) {
        const TWebOrigins rules = ParseWebOrigins(c.text);
        EXPECT_EQ(rules.Error, c.error) << c.text;
        EXPECT_FALSE(rules.AnyOrigin) << c.text;
        EXPECT_TRUE(rules.Origins.empty()) << c.text;
        EXPECT_EQ(rules.Text, c.text); // kept, so that a save does not lose it
        EXPECT_FALSE(rules.Allows("https://a.example")) << c.text;
    }
}
