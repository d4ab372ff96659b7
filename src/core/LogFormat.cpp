#include "core/LogFormat.h"

namespace zir::core {

std::string FormatLogLine(std::string_view pattern,
                          std::initializer_list<std::string_view> values) {
    std::string line;
    auto next = values.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's' &&
            next != values.end()) {
            line += *next++;
            ++i;
        } else {
            line += pattern[i];
        }
    }
    return line;
}

} // namespace zir::core
