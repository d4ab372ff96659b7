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
