#pragma once

#include <string>
#include <string_view>

namespace zir::http {

struct TRequestPathResult {
    std::string RequestPath;
    std::string Host; // the host an absolute target names; empty otherwise
};

// The decoded request path of a target's path part (the text before its first "?"): "*" stays
// "*"; relative and absolute ("scheme://host/...") targets as the request loop documents.
TRequestPathResult ComputeRequestPath(std::string_view pathPart);

} // namespace zir::http
