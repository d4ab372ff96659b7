#include "core/JsonText.h"

namespace zir::core {

void AppendJsonEscaped(std::string& out, std::string_view text) {
    static const char hex[] = "0123456789ABCDEF";
    for (char c : text) {
        unsigned char byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (byte < 0x20) {
                out += "\\u00";
                out += hex[byte >> 4];
                out += hex[byte & 0x0F];
            } else {
                out += c;
            }
        }
    }
}

std::string JsonEscaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    AppendJsonEscaped(out, text);
    return out;
}

} // namespace zir::core
