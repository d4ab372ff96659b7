#pragma once

// The service log keeps its last 5,000 lines. A page that polls twice a second adds some
// 350,000 lines a day; a log that only grows makes every append slower than the request it
// reports and its memory unbounded. This piece knows the lines the window holds and tells it,
// for each batch of new lines, how much text to drop from the front.

#include <cstddef>
#include <deque>
#include <vector>

namespace zir::shell {

inline constexpr std::size_t kServiceLogLines = 5000;

class ServiceLogLimit {
  public:
    explicit ServiceLogLimit(std::size_t maxLines = kServiceLogLines);

    struct Trim {
        std::size_t DropLength = 0; // text to remove from the front of the window's text first
        std::size_t FirstLine = 0;  // the batch's lines before this one are not appended at all
    };

    // A batch about to be appended: the length of each line as the window holds it (in the
    // window's text units, UTF-16 on Windows), its line break included. Afterwards the window
    // holds the last maxLines lines.
    Trim Append(const std::vector<std::size_t>& lineLengths);

    std::size_t LineCount() const { return lengths_.size(); }
    std::size_t TextLength() const { return total_; }

  private:
    std::size_t maxLines_;
    std::deque<std::size_t> lengths_;
    std::size_t total_ = 0;
};

} // namespace zir::shell
