#include "platform/Text.h"

#include <gtest/gtest.h>

using namespace zir::platform;

TEST(Text, GbkBecomesUtf8) {
    // "张三" and "汉" in GBK, with ASCII around them.
    EXPECT_EQ(Cp936ToUtf8("A\xD5\xC5\xC8\xFD-\xBA\xBA"), "A张三-汉");
    EXPECT_EQ(Cp936ToUtf8(""), "");
    EXPECT_EQ(Cp936ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
    // The single byte 0x80 is the euro sign in code page 936.
    EXPECT_EQ(Cp936ToUtf8("\x80"), "\xE2\x82\xAC");
}

TEST(Text, BadGbkBecomesReplacementAndNothingIsLost) {
    const std::string fffd = "\xEF\xBF\xBD";
    EXPECT_EQ(Cp936ToUtf8("\xFF"), fffd);
    // A lead byte followed by a space: the lead is replaced, the space survives.
    EXPECT_EQ(Cp936ToUtf8("\x81 x"), fffd + " x");
    // A truncated character at the very end.
    EXPECT_EQ(Cp936ToUtf8("\xD5\xC5\xD5"), "张" + fffd);
    EXPECT_EQ(Cp936ToUtf8("\xFF\xD5\xC5\xFF"), fffd + "张" + fffd);
}

TEST(Text, Utf8ToGbkWithQuestionMarksForWhatGbkLacks) {
    EXPECT_EQ(Utf8ToCp936("A张三"), "A\xD5\xC5\xC8\xFD");
    // An emoji has no GBK form; a stray continuation byte is not UTF-8.
    EXPECT_EQ(Utf8ToCp936("x\xF0\x9F\x98\x80y"), "x?y");
    EXPECT_EQ(Utf8ToCp936("x\x80y"), "x?y");
    EXPECT_EQ(Utf8ToCp936("\xE5\xBC"), "??");
    EXPECT_EQ(Cp936ToUtf8(Utf8ToCp936("北京市东城区")), "北京市东城区");
}

TEST(Text, Utf8AndWideRoundTrip) {
    std::string text = "zir 身份证 \xF0\x9F\x98\x80";
    EXPECT_EQ(WideToUtf8(Utf8ToWide(text)), text);
    EXPECT_EQ(Utf8ToWide("\xC0\x80"), L"\uFFFD\uFFFD");             // overlong NUL
    EXPECT_EQ(Utf8ToWide("a\xED\xA0\x80"), L"a\uFFFD\uFFFD\uFFFD"); // encoded surrogate
}
