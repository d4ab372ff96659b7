#include "http/TIdHeaderList.h"

#include "platform/Text.h"

namespace zir::http {

namespace {

// Blanks and control characters count as white space at both ends.
std::string_view Trim(std::string_view text) {
    return platform::TrimBlanksAndControls(text);
}

bool IsContinuation(const std::string& line) {
    return !line.empty() && (line[0] == ' ' || line[0] == '\t');
}

} // namespace

std::ptrdiff_t TIdHeaderList::IndexOfName(std::string_view name) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        std::size_t colon = lines_[i].find(':');
        if (colon != std::string::npos &&
            platform::EqualsIgnoringAsciiCase(std::string_view(lines_[i]).substr(0, colon), name)) {
            return static_cast<std::ptrdiff_t>(i);
        }
    }
    return -1;
}

std::string TIdHeaderList::Values(std::string_view name) const {
    std::ptrdiff_t index = IndexOfName(name);
    if (index < 0) {
        return {};
    }
    const std::string& line = lines_[static_cast<std::size_t>(index)];
    std::string value(Trim(std::string_view(line).substr(line.find(':') + 1)));
    for (std::size_t i = static_cast<std::size_t>(index) + 1;
         i < lines_.size() && IsContinuation(lines_[i]); ++i) {
        value += ' ';
        value += Trim(lines_[i]);
    }
    return std::string(Trim(value));
}

void TIdHeaderList::SetValue(std::string_view name, const std::string& value) {
    std::ptrdiff_t index = IndexOfName(name);
    if (value.empty()) {
        if (index >= 0) {
            lines_.erase(lines_.begin() + index);
        }
        return;
    }
    std::string line = std::string(name) + ": " + value;
    if (index >= 0) {
        lines_[static_cast<std::size_t>(index)] = std::move(line);
    } else {
        lines_.push_back(std::move(line));
    }
}

} // namespace zir::http
