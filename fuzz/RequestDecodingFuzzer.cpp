// Parameter and request-path decoding on arbitrary bytes: the query or form text as a client
// sends it, and the path part of a request target.

#include "FuzzCheck.h"

#include "http/ParamDecoding.h"
#include "http/RequestPath.h"
#include "platform/Text.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace zir::http;

namespace {

void CheckParams(std::string_view text) {
    const std::vector<std::string> params = DecodeParams(text);
    // One entry per piece between "&", each the decoding of its piece, empty ones included.
    if (text.empty()) {
        FUZZ_CHECK(params.empty());
        return;
    }
    FUZZ_CHECK(params.size() == static_cast<size_t>(std::count(text.begin(), text.end(), '&')) + 1);
    size_t start = 0;
    for (const std::string& entry : params) {
        size_t end = std::min(text.find('&', start), text.size());
        FUZZ_CHECK(entry == DecodeUrlPart(text.substr(start, end - start)));
        start = end + 1;
    }
    // The lookup finds the first entry whose name matches, and only an entry with "=".
    bool found = false;
    const std::string value = FindParam(params, "type", &found);
    auto match = std::find_if(params.begin(), params.end(), [](const std::string& entry) {
        size_t eq = entry.find('=');
        return eq != std::string::npos && zir::platform::EqualsIgnoringAsciiCase(
                                              std::string_view(entry).substr(0, eq), "type");
    });
    FUZZ_CHECK(found == (match != params.end()));
    FUZZ_CHECK(value == (found ? match->substr(match->find('=') + 1) : std::string()));
}

void CheckUrlPart(std::string_view text) {
    const std::string decoded = DecodeUrlPart(text);
    FUZZ_CHECK(decoded.size() <= text.size());
    if (text.find_first_of("%+") == std::string_view::npos)
        FUZZ_CHECK(decoded == text);
    // Every byte but NUL survives being percent-encoded; "%00" vanishes by rule.
    static const char hex[] = "0123456789abcdef";
    std::string encoded, expected;
    for (unsigned char c : text) {
        encoded += '%';
        encoded += hex[c >> 4];
        encoded += hex[c & 15];
        if (c != 0)
            expected += static_cast<char>(c);
    }
    FUZZ_CHECK(DecodeUrlPart(encoded) == expected);
}

void CheckRequestPath(std::string_view target) {
    const std::string_view pathPart = target.substr(0, target.find('?'));
    const TRequestPathResult result = ComputeRequestPath(pathPart);
    // Decoding only shrinks; an absolute target may gain the leading "/" of its directory.
    FUZZ_CHECK(result.RequestPath.size() <= pathPart.size() + 1);
    FUZZ_CHECK(result.Host.size() <= pathPart.size());
    if (pathPart.find_first_of("%+\\=#") == std::string_view::npos &&
        pathPart.find("://") == std::string_view::npos)
        FUZZ_CHECK(result.RequestPath == pathPart && result.Host.empty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckParams(text);
    CheckUrlPart(text);
    CheckRequestPath(text);
    return 0;
}
