#include "shell/common/ServiceLogLimit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using zir::shell::ServiceLogLimit;

namespace {

// The window's text as the log would keep it: every batch trimmed as the limit says.
struct LogWindow {
    explicit LogWindow(size_t maxLines) : limit(maxLines) {}
    void Append(const std::vector<std::string>& lines) {
        std::vector<size_t> lengths;
        for (const auto& line : lines)
            lengths.push_back(line.size() + 2);
        auto trim = limit.Append(lengths);
        text.erase(0, trim.DropLength);
        for (size_t i = trim.FirstLine; i < lines.size(); ++i)
            text += lines[i] + "\r\n";
    }
    ServiceLogLimit limit;
    std::string text;
};

std::string Lines(int from, int to) {
    std::string text;
    for (int i = from; i < to; ++i)
        text += "##REQUEST " + std::to_string(i) + "\r\n";
    return text;
}

std::vector<std::string> Batch(int from, int to) {
    std::vector<std::string> lines;
    for (int i = from; i < to; ++i)
        lines.push_back("##REQUEST " + std::to_string(i));
    return lines;
}

} // namespace

TEST(ServiceLogLimit, NothingIsDroppedUntilTheLimitAndThenTheOldestLinesGo) {
    ServiceLogLimit limit(3);
    EXPECT_EQ(limit.Append({5, 6}).DropLength, 0u);
    auto trim = limit.Append({7});
    EXPECT_EQ(trim.DropLength, 0u);
    EXPECT_EQ(limit.LineCount(), 3u);
    trim = limit.Append({8, 9});
    EXPECT_EQ(trim.DropLength, 11u); // the first two lines, 5 + 6
    EXPECT_EQ(trim.FirstLine, 0u);
    EXPECT_EQ(limit.LineCount(), 3u);
    EXPECT_EQ(limit.TextLength(), 7u + 8u + 9u);
}

TEST(ServiceLogLimit, ABatchLongerThanTheLogReplacesItWithItsLastLines) {
    ServiceLogLimit limit(3);
    limit.Append({4, 4});
    auto trim = limit.Append({1, 2, 3, 4, 5});
    EXPECT_EQ(trim.DropLength, 8u); // the whole old text
    EXPECT_EQ(trim.FirstLine, 2u);  // and the batch's first two lines are never appended
    EXPECT_EQ(limit.LineCount(), 3u);
    EXPECT_EQ(limit.TextLength(), 12u);
}

TEST(ServiceLogLimit, SixThousandRequestsLeaveTheLastFiveThousandLines) {
    LogWindow window(zir::shell::kServiceLogLines);
    int next = 0;
    // Batches of every size a busy UI thread might drain, one line up to a few hundred.
    for (int size = 1; next < 6000; size = size * 3 % 401 + 1) {
        int end = std::min(next + size, 6000);
        window.Append(Batch(next, end));
        next = end;
    }
    EXPECT_EQ(window.limit.LineCount(), 5000u);
    EXPECT_EQ(window.text, Lines(1000, 6000));
    EXPECT_EQ(window.limit.TextLength(), window.text.size());

    window.Append(Batch(6000, 12000));
    EXPECT_EQ(window.text, Lines(7000, 12000));
}
