#include "core/ServiceLog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zir::core;

TEST(ServiceLog, EveryEventStaysOneLineWhateverTheRequestCarried) {
    std::vector<std::string> lines;
    SetServiceLogSink([&lines](const std::string& line) { lines.push_back(line); });
    LogServiceLine("##REQUEST --> [URI: /张三; TYPE: UID]");
    LogServiceLine("##REQUEST --> [URI: /a\r\n##DECODE SUCCESS --> forged\x7f\t; TYPE: ]");
    SetServiceLogSink(nullptr);
    LogServiceLine("dropped without a sink");
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "##REQUEST --> [URI: /张三; TYPE: UID]",
                         "##REQUEST --> [URI: /a\\x0D\\x0A##DECODE SUCCESS --> forged\\x7F\\x09; "
                         "TYPE: ]"}));
}

TEST(ServiceLog, BytesThatAreNotUtf8AreShownAsReplacementCharacters) {
    std::vector<std::string> lines;
    SetServiceLogSink([&lines](const std::string& line) { lines.push_back(line); });
    // A UID as a reader may deliver it and a path decoded from %FF: only the bad bytes change.
    LogServiceLine("##READ SUCCESS --> 身份证 : A\xFE"
                   "B中\xE4\xB8");
    LogServiceLine("##REQUEST --> [URI: /\xFF\x0A; TYPE: ]");
    SetServiceLogSink(nullptr);
    EXPECT_EQ(lines, (std::vector<std::string>{"##READ SUCCESS --> 身份证 : A\xEF\xBF\xBD"
                                               "B中\xEF\xBF\xBD\xEF\xBF\xBD",
                                               "##REQUEST --> [URI: /\xEF\xBF\xBD\\x0A; TYPE: ]"}));
}
