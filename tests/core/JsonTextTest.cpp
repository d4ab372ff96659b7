#include "core/JsonText.h"

#include "StrictJson.h"

#include <gtest/gtest.h>

#include <string>

using zir::core::JsonEscaped;

TEST(JsonText, EscapesQuotesBackslashesAndControlBytes) {
    EXPECT_EQ(JsonEscaped("\"\\\b\f\n\r\t"), "\\\"\\\\\\b\\f\\n\\r\\t");
    EXPECT_EQ(JsonEscaped(std::string("\x00\x01\x1a\x1f", 4)), "\\u0000\\u0001\\u001A\\u001F");
    for (int byte = 0; byte < 0x20; ++byte) {
        std::string doc = "\"" + JsonEscaped(std::string(1, static_cast<char>(byte))) + "\"";
        zir::test::JsonValue v;
        std::string error;
        ASSERT_TRUE(zir::test::StrictJsonReader::Parse(doc, v, error)) << byte << " " << error;
        EXPECT_EQ(v.text, std::string(1, static_cast<char>(byte)));
    }
}

TEST(JsonText, AsciiAndWellFormedUtf8StayAsTheyAre) {
    std::string ascii;
    for (int byte = 0x20; byte < 0x80; ++byte)
        if (byte != '"' && byte != '\\')
            ascii += static_cast<char>(byte);
    EXPECT_EQ(JsonEscaped(ascii), ascii);
    EXPECT_EQ(JsonEscaped("张三 长期 /</script> \xC2\x80 \xF0\x9F\x98\x80 \xF4\x8F\xBF\xBF"),
              "张三 长期 /</script> \xC2\x80 \xF0\x9F\x98\x80 \xF4\x8F\xBF\xBF");
    EXPECT_EQ(JsonEscaped(""), "");
}

// Long plain runs are scanned a word at a time: a byte that needs a look of its own is found
// at every place inside and around such a word.
TEST(JsonText, ABytePlacedAnywhereInALongPlainRunIsHandled) {
    const std::pair<std::string, std::string> cases[] = {
        {"\"", "\\\""},          {"\\", "\\\\"},          {"\x01", "\\u0001"},
        {"\x1f", "\\u001F"},      {"\n", "\\n"},              {"\x7f", "\x7f"},
        {" ", " "},                 {"\xC3\xA9", "\xC3\xA9"},    {"\xE5\xBC\xA0", "\xE5\xBC\xA0"},
        {"\xFF", "\xEF\xBF\xBD"}, {"\x80", "\xEF\xBF\xBD"}, {"\xC3", "\xEF\xBF\xBD"}};
    for (const auto& [inserted, escaped] : cases) {
        for (std::size_t at = 0; at <= 24; ++at) {
            SCOPED_TRACE(escaped + " at " + std::to_string(at));
            const std::string before(at, 'A'), after(24 - at, 'z');
            EXPECT_EQ(JsonEscaped(before + inserted + after), before + escaped + after);
        }
    }
}

TEST(JsonText, EveryByteThatIsNotUtf8BecomesAReplacementCharacter) {
    const std::string r = "\xEF\xBF\xBD"; // U+FFFD
    // GBK as the reader delivers it, a lone continuation byte, a cut-off sequence, an overlong
    // slash, a surrogate, a value past U+10FFFF and the bytes no UTF-8 text holds.
    EXPECT_EQ(JsonEscaped("\xD5\xC5\xC8\xFD"), r + r + r + r);
    EXPECT_EQ(JsonEscaped("a\x80"
                          "b"),
              "a" + r + "b");
    EXPECT_EQ(JsonEscaped("\xE4\xB8"), r + r);
    EXPECT_EQ(JsonEscaped("\xC0\xAF"), r + r);
    EXPECT_EQ(JsonEscaped("\xED\xA0\x80"), r + r + r);
    EXPECT_EQ(JsonEscaped("\xF4\x90\x80\x80"), r + r + r + r);
    EXPECT_EQ(JsonEscaped("\xF5\xFE\xFF\"\x01"), r + r + r + "\\\"\\u0001");
    for (int byte = 0x80; byte < 0x100; ++byte) {
        std::string doc = "\"" + JsonEscaped(std::string(1, static_cast<char>(byte))) + "\"";
        zir::test::JsonValue v;
        std::string error;
        ASSERT_TRUE(zir::test::StrictJsonReader::Parse(doc, v, error)) << byte << " " << error;
        EXPECT_EQ(v.text, r);
    }
}

TEST(JsonText, TheTestReaderRejectsWhatABrowserWouldReject) {
    const char* bad[] = {
        "{\"a\":\"\x01\"}",          "{\"a\":\"b\"c\"}", "{\"a\":\"\xC3\"}", "{\"a\":\"\xC0\xAF\"}",
        "{\"a\":\"1\",\"a\":\"2\"}", "{\"a\":\"\\x\"}",  "{\"a\":\"1\"}}",   "{\"a\":\"1\",}"};
    for (const char* doc : bad) {
        zir::test::JsonValue v;
        std::string error;
        EXPECT_FALSE(zir::test::StrictJsonReader::Parse(doc, v, error)) << doc;
    }
}
