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

} // namespace

std::string DecodeUrlPart(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        char c = text[i] == '+' ? ' ' : text[i];
        if (c != '%') {
            result += c;
            ++i;
            continue;
        }
        // "%" and up to two characters after it are always consumed; only a hexadecimal value
        // from 1 to 255 leaves a byte behind.
        std::size_t digits = std::min<std::size_t>(2, text.size() - i - 1);
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

std::vector<std::string> DecodeParams(std::string_view text) {
    std::vector<std::string> params;
    if (text.empty()) {
        return params;
    }
    std::size_t start = 0;
    for (;;) {
        std::size_t amp = text.find('&', start);
        params.push_back(DecodeUrlPart(text.substr(start, amp - start)));
        if (amp == std::string_view::npos) {
            break;
        }
        start = amp + 1;
    }
    return params;
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
