#include "config/WebOrigins.h"

#include "platform/Text.h"

#include <algorithm>

namespace zir::config {

namespace {

bool IsAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsSchemeChar(char c) {
    return IsAlpha(c) || IsDigit(c) || c == '+' || c == '-' || c == '.';
}

bool IsHostChar(char c) {
    return IsAlpha(c) || IsDigit(c) || c == '-' || c == '.' || c == '_';
}

bool IsIpv6Char(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'f') || c == ':' || c == '.';
}

// Where the host of "host[:port]..." ends: a bracketed IPv6 literal or a plain name; 0 when
// there is none.
size_t HostLength(std::string_view rest) {
    if (!rest.empty() && rest[0] == '[') {
        const size_t close = rest.find(']');
        if (close == std::string_view::npos || close == 1 ||
            !std::all_of(rest.begin() + 1, rest.begin() + static_cast<long>(close), IsIpv6Char))
            return 0;
        return close + 1;
    }
    size_t length = 0;
    while (length < rest.size() && IsHostChar(rest[length]))
        ++length;
    return length;
}

bool IsSeparator(char c) {
    return c == ' ' || c == '\t' || c == ',';
}

std::vector<std::string_view> SplitEntries(std::string_view text) {
    std::vector<std::string_view> entries;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsSeparator(text[i]))
            ++i;
        const size_t start = i;
        while (i < text.size() && !IsSeparator(text[i]))
            ++i;
        if (i > start)
            entries.push_back(text.substr(start, i - start));
    }
    return entries;
}

} // namespace

std::optional<int> PortNumber(std::string_view text) {
    if (text.empty() || text.size() > 5 || !std::all_of(text.begin(), text.end(), IsDigit))
        return std::nullopt;
    int value = 0;
    for (char c : text)
        value = value * 10 + (c - '0');
    if (value < 1 || value > 65535)
        return std::nullopt;
    return value;
}

std::optional<std::string> CanonicalOrigin(std::string_view text) {
    const std::string lower = platform::AsciiLowerCase(std::string(text));
    if (lower == "null")
        return lower;
    const size_t separator = lower.find("://");
    if (separator == std::string::npos || separator == 0 || !IsAlpha(lower[0]) ||
        !std::all_of(lower.begin(), lower.begin() + static_cast<long>(separator), IsSchemeChar))
        return std::nullopt;
    const std::string scheme = lower.substr(0, separator);
    std::string_view rest = std::string_view(lower).substr(separator + 3);

    const size_t hostLength = HostLength(rest);
    if (hostLength == 0)
        return std::nullopt;
    std::string origin = scheme + "://" + std::string(rest.substr(0, hostLength));
    rest.remove_prefix(hostLength);
    if (rest.empty())
        return origin;

    // Only a port may follow the host: no path, not even "/", no query, no user.
    if (rest[0] != ':')
        return std::nullopt;
    const std::optional<int> port = PortNumber(rest.substr(1));
    if (!port)
        return std::nullopt;
    const bool defaultPort =
        (scheme == "http" && *port == 80) || (scheme == "https" && *port == 443);
    if (!defaultPort)
        origin += ":" + std::to_string(*port);
    return origin;
}

bool TWebOrigins::Allows(std::string_view origin) const {
    if (AnyOrigin)
        return true;
    const std::optional<std::string> canonical = CanonicalOrigin(origin);
    return canonical && std::find(Origins.begin(), Origins.end(), *canonical) != Origins.end();
}

TWebOrigins ParseWebOrigins(std::string_view text) {
    TWebOrigins rules;
    const std::vector<std::string_view> entries =
        SplitEntries(platform::TrimBlanksAndControls(text));
    if (entries.empty())
        return rules; // only separators: not set
    rules.Text = platform::TrimBlanksAndControls(text);
    if (entries.size() == 1 && entries[0] == "*")
        return rules;

    rules.AnyOrigin = false;
    for (std::string_view entry : entries) {
        if (entry == "*") {
            rules.Error = "WebOrigins: '*' (every origin) cannot stand in a list of origins";
            break;
        }
        const std::optional<std::string> origin = CanonicalOrigin(entry);
        if (!origin) {
            rules.Error = "WebOrigins: '" + std::string(entry) +
                          "' is not an origin (scheme://host[:port], null or *)";
            break;
        }
        if (std::find(rules.Origins.begin(), rules.Origins.end(), *origin) == rules.Origins.end())
            rules.Origins.push_back(*origin);
    }
    if (!rules.Error.empty())
        rules.Origins.clear();
    return rules;
}

} // namespace zir::config
