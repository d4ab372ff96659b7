#pragma once

#include <string>
#include <string_view>

namespace zir::http {

// Base64 text to bytes. "Uneven size in DecodeToStream." when the length is not a multiple of 4.
std::string DecodeBase64(std::string_view text);

struct TBasicCredentials {
    std::string Username;
    std::string Password;
};

// An Authorization value "Basic <base64 of user:password>". Any other scheme fails with
// "Unsupported authorization scheme.".
TBasicCredentials DecodeBasicAuthorization(std::string_view value);

} // namespace zir::http
