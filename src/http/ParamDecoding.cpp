#include "http/ParamDecoding.h"

#include "platform/Text.h"

#include <algorithm>

namespace zir::http {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The text parameters are decoded from: one text, or a body and a query string read as if they
// were joined by CR LF, without building the joined copy of a body that may be a megabyte.
class TParamSource {
  public:
    explicit TParamSource(std::string_view text) : first_(text) {}
    TParamSource(std::string_view body, std::string_view query)
        : first_(body.empty() ? query : body), joint_(body.empty() || query.empty() ? "" : "\r\n"),
          second_(body.empty() ? std::string_view() : query) {}

    std::size_t size() const { return first_.size() + joint_.size() + second_.size(); }
    char operator[](std::size_t i) const {
        if (i < first_.size())
            return first_[i];
        i -= first_.size();
        return i < joint_.size() ? joint_[i] : second_[i - joint_.size()];
    }
    // The position of the next c from `from` on, or size().
    std::size_t Find(char c, std::size_t from) const {
        for (; from < size(); ++from) {
            if ((*this)[from] == c)
                return from;
        }
        return size();
    }

  private:
    std::string_view first_;
    std::string_view joint_;
    std::string_view second_;
};

std::string DecodeRange(const TParamSource& text, std::size_t begin, std::size_t end) {
    std::string result;
    result.reserve(end - begin);
    std::size_t i = begin;
    while (i < end) {
        char c = text[i] == '+' ? ' ' : text[i];
        if (c != '%') {
            result += c;
            ++i;
            continue;
        }
        // "%" and up to two characters after it are always consumed; only a hexadecimal value
        // from 1 to 255 leaves a byte behind.
        std::size_t digits = std::min<std::size_t>(2, end - i - 1);
        int value = digits == 0 ? -1 : 0;
        for (std::size_t d = 1; d <= digits; ++d) {
            int digit = HexValue(text[i + d]);
            if (digit < 0) {
                value = -1;
                break;
            }
            value = value * 16 + digit;
        }
        if (value > 0) {
            result += static_cast<char>(value);
        }
        i += 1 + digits;
    }
    return result;
}

std::vector<std::string> DecodeSource(const TParamSource& text) {
    std::vector<std::string> params;
    if (text.size() == 0) {
        return params;
    }
    std::size_t start = 0;
    for (;;) {
        std::size_t amp = text.Find('&', start);
        params.push_back(DecodeRange(text, start, amp));
        if (amp == text.size()) {
            break;
        }
        start = amp + 1;
    }
    return params;
}

} // namespace

std::string DecodeUrlPart(std::string_view text) {
    return DecodeRange(TParamSource(text), 0, text.size());
}

std::vector<std::string> DecodeParams(std::string_view text) {
    return DecodeSource(TParamSource(text));
}

std::vector<std::string> DecodeParams(std::string_view body, std::string_view query) {
    return DecodeSource(TParamSource(body, query));
}

std::string JoinParamText(std::string_view body, std::string_view query) {
    if (body.empty() || query.empty()) {
        return std::string(body.empty() ? query : body);
    }
    std::string text;
    text.reserve(body.size() + 2 + query.size());
    text.append(body).append("\r\n").append(query);
    return text;
}

std::string FindParam(const std::vector<std::string>& params, std::string_view name, bool* found) {
    for (const std::string& entry : params) {
        std::size_t equals = entry.find('=');
        if (equals != std::string::npos &&
            platform::EqualsIgnoringAsciiCase(std::string_view(entry).substr(0, equals), name)) {
            if (found != nullptr)
                *found = true;
            return entry.substr(equals + 1);
        }
    }
    if (found != nullptr)
        *found = false;
    return {};
}

} // namespace zir::http
