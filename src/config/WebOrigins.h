#pragma once

// The WebOrigins setting: which web pages may read the card. Absent, empty or "*" lets every
// origin in, as the service always did; otherwise it is a list of origins separated by blanks or
// commas, "scheme://host[:port]" each, or "null" for pages opened from a file.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zir::config {

// The form two origins are compared in: scheme and host in lower case, the port without leading
// zeros and dropped where it is the scheme's default (http 80, https 443), as browsers send it;
// "null" as it is. Nullopt when text is no single origin (a path, a user, a bad port, blanks).
std::optional<std::string> CanonicalOrigin(std::string_view text);

// A port as an origin or a Host header writes it: one to five decimal digits, 1 to 65535.
std::optional<int> PortNumber(std::string_view text);

struct TWebOrigins {
    // The setting as given without outer blanks, a bad one too; "" when not set.
    std::string Text;
    bool AnyOrigin = true; // not set or "*": every origin, and the Host header is not looked at
    std::vector<std::string> Origins; // the list, canonical
    // Not empty when Text is no valid list. Such a setting allows no origin at all: a typing
    // mistake must not open the card to every site.
    std::string Error;

    // Whether a request's Origin header value may read the card.
    bool Allows(std::string_view origin) const;
};

// The setting's text read into its rules. A bad entry gives Error, naming it.
TWebOrigins ParseWebOrigins(std::string_view text);

} // namespace zir::config
