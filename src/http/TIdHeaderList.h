#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zir::http {

// Ordered header lines "Name: value". Lookup compares the text before the first ":" ignoring
// case and takes the first match; continuation lines (starting with a blank or tab) belong to
// the line above them.
class TIdHeaderList {
  public:
    void Add(const std::string& line) { lines_.push_back(line); }
    void push_back(const std::string& line) { lines_.push_back(line); }
    void Clear() { lines_.clear(); }
    std::size_t Count() const { return lines_.size(); }
    bool Empty() const { return lines_.empty(); }
    const std::string& operator[](std::size_t index) const { return lines_[index]; }
    const std::vector<std::string>& Lines() const { return lines_; }

    // The value of the first line named name: the text after its ":", continuation lines joined
    // by one blank, trimmed of blanks and control characters. Empty when there is none.
    std::string Values(std::string_view name) const;

    // Replaces the first line of that name in place with "name: value", or appends it; an empty
    // value removes that line.
    void SetValue(std::string_view name, const std::string& value);

    // Index of the first line named name, or -1.
    std::ptrdiff_t IndexOfName(std::string_view name) const;

  private:
    std::vector<std::string> lines_;
};

} // namespace zir::http
