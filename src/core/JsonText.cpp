#include "core/JsonText.h"

#include "platform/Utf8Codec.h"

namespace zir::core {

void AppendJsonEscaped(std::string& out, std::string_view text) {
    static const char hex[] = "0123456789ABCDEF";
    size_t plain = 0; // start of the run of bytes that need no escape
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x80) {
            char32_t cp;
            const size_t length = platform::DecodeUtf8(text, i, cp);
            if (length != 0) {
                i += length - 1;
                continue;
            }
        } else if (byte >= 0x20 && byte != '"' && byte != '\\') {
            continue;
        }
        // The photo text is tens of kilobytes without a byte to escape: append whole runs.
        out.append(text.substr(plain, i - plain));
        plain = i + 1;
        if (byte >= 0x80) {
            // A reader's UID is copied as delivered: a byte that is no UTF-8 must not make the
            // document one that a strict parser refuses.
            out.append(platform::kUtf8Replacement);
            continue;
        }
        switch (byte) {
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
            out += "\\u00";
            out += hex[byte >> 4];
            out += hex[byte & 0x0F];
        }
    }
    out.append(text.substr(plain));
}

std::string JsonEscaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    AppendJsonEscaped(out, text);
    return out;
}

void AppendJsonMembers(std::string& out, std::initializer_list<TJsonMember> members) {
    size_t size = out.size();
    for (const auto& [key, value] : members)
        size += key.size() + value.size() + 6;
    out.reserve(size); // escapes aside, one allocation for the photo-sized document
    bool first = true;
    for (const auto& [key, value] : members) {
        if (!first)
            out += ',';
        first = false;
        out += '"';
        out += key;
        out += "\":\"";
        AppendJsonEscaped(out, value);
        out += '"';
    }
}

std::string JsonObject(std::initializer_list<TJsonMember> members) {
    std::string out = "{";
    AppendJsonMembers(out, members);
    out += '}';
    return out;
}

} // namespace zir::core
