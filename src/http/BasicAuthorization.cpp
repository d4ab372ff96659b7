#include "http/BasicAuthorization.h"

#include <cstdint>

#include "http/EIdException.h"
#include "platform/Text.h"

namespace zir::http {

namespace {

int Base64Value(char c) {
    if (c >= 'A' && c <= 'Z') {
        return c - 'A';
    }
    if (c >= 'a' && c <= 'z') {
        return c - 'a' + 26;
    }
    if (c >= '0' && c <= '9') {
        return c - '0' + 52;
    }
    if (c == '+') {
        return 62;
    }
    if (c == '/') {
        return 63;
    }
    return -1;
}

} // namespace

std::string DecodeBase64(std::string_view text) {
    if (text.size() % 4 != 0) {
        throw EIdException(messages::kUnevenSize);
    }
    std::string bytes;
    bytes.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i < text.size(); i += 4) {
        std::uint32_t group = 0;
        int padding = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            int value = Base64Value(text[i + k]);
            if (text[i + k] == '=') {
                ++padding;
            }
            // Characters outside the alphabet count as zero bits rather than failing.
            group = (group << 6) | static_cast<std::uint32_t>(value < 0 ? 0 : value);
        }
        int count = padding >= 3 ? 0 : 3 - padding;
        for (int k = 0; k < count; ++k) {
            bytes += static_cast<char>((group >> (16 - 8 * k)) & 0xFF);
        }
    }
    return bytes;
}

TBasicCredentials DecodeBasicAuthorization(std::string_view value) {
    std::size_t blank = value.find(' ');
    std::string_view scheme = value.substr(0, blank);
    std::string_view encoded =
        blank == std::string_view::npos ? std::string_view() : value.substr(blank + 1);
    if (!platform::EqualsIgnoringAsciiCase(scheme, "Basic")) {
        throw EIdException(messages::kUnsupportedAuthScheme);
    }
    std::string decoded = DecodeBase64(encoded);
    TBasicCredentials credentials;
    std::size_t colon = decoded.find(':');
    credentials.Username = decoded.substr(0, colon);
    if (colon != std::string::npos) {
        credentials.Password = decoded.substr(colon + 1);
    }
    return credentials;
}

} // namespace zir::http
