#include "http/TIdHTTPRequestInfo.h"

namespace zir::http {

namespace {

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::string TIdHTTPRequestInfo::Param(std::string_view name, bool* found) const {
    for (const std::string& entry : ParamList) {
        std::size_t equals = entry.find('=');
        if (equals == std::string::npos || equals != name.size()) {
            continue;
        }
        bool same = true;
        for (std::size_t i = 0; same && i < equals; ++i) {
            same = LowerAscii(entry[i]) == LowerAscii(name[i]);
        }
        if (same) {
            if (found != nullptr) {
                *found = true;
            }
            return entry.substr(equals + 1);
        }
    }
    if (found != nullptr) {
        *found = false;
    }
    return {};
}

} // namespace zir::http
