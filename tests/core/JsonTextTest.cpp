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

TEST(JsonText, EveryOtherByteStaysAsItIs) {
    std::string all;
    for (int byte = 0x20; byte < 0x100; ++byte)
        if (byte != '"' && byte != '\\')
            all += static_cast<char>(byte);
    EXPECT_EQ(JsonEscaped(all), all);
    EXPECT_EQ(JsonEscaped("张三 长期 /</script>"), "张三 长期 /</script>");
    EXPECT_EQ(JsonEscaped(""), "");
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
