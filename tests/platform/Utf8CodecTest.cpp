#include "platform/Utf8Codec.h"

#include <gtest/gtest.h>

#include <string>

using namespace zir::platform;

TEST(Utf8Codec, SequencesAreMeasuredAtTheirBordersAndRefusedBeyondThem) {
    struct Case {
        const char* bytes;
        std::size_t length;
    };
    const Case cases[] = {
        {"A", 1},
        {"\x7F", 1},
        {"\xC2\x80", 2},
        {"\xDF\xBF", 2},
        {"\xE0\xA0\x80", 3},
        {"\xED\x9F\xBF", 3},
        {"\xEE\x80\x80", 3},
        {"\xEF\xBF\xBF", 3},
        {"\xF0\x90\x80\x80", 4},
        {"\xF4\x8F\xBF\xBF", 4},
        // Continuation bytes, overlong forms, surrogates, past U+10FFFF, leads no text holds.
        {"\x80", 0},
        {"\xBF", 0},
        {"\xC0\x80", 0},
        {"\xC1\xBF", 0},
        {"\xE0\x9F\xBF", 0},
        {"\xED\xA0\x80", 0},
        {"\xF0\x8F\xBF\xBF", 0},
        {"\xF4\x90\x80\x80", 0},
        {"\xF5\x80\x80\x80", 0},
        {"\xFF", 0},
        // Cut off, or a continuation missing inside.
        {"\xC2", 0},
        {"\xE4\xB8", 0},
        {"\xE4\x41\xAD", 0},
        {"\xF0\x9F\x98", 0},
        {"\xF0\x9F\x41\x80", 0},
    };
    for (const Case& c : cases) {
        const std::string text(c.bytes);
        char32_t cp = 0;
        EXPECT_EQ(DecodeUtf8(text, 0, cp), c.length) << testing::PrintToString(text);
        EXPECT_EQ(IsValidUtf8(text), c.length == text.size()) << testing::PrintToString(text);
    }
}

TEST(Utf8Codec, ValidTextStaysAndEachBadByteBecomesOneReplacement) {
    const std::string r(kUtf8Replacement);
    EXPECT_EQ(RepairUtf8(""), "");
    EXPECT_EQ(RepairUtf8("张三 ANNA \xF0\x9F\x98\x80"), "张三 ANNA \xF0\x9F\x98\x80");
    EXPECT_EQ(RepairUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
    // GBK for 张三: four bytes, four replacements; what follows a bad byte survives.
    EXPECT_EQ(RepairUtf8("\xD5\xC5\xC8\xFD"), r + r + r + r);
    EXPECT_EQ(RepairUtf8("\xE4\xB8"
                         "中\xFF"),
              r + r + "中" + r);
    EXPECT_TRUE(IsValidUtf8(RepairUtf8("\xED\xA0\x80\xC0\xAF\xF4\x90\x80\x80")));
}
