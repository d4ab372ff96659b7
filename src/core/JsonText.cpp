#include "core/JsonText.h"

#include "platform/Utf8Codec.h"

#include <cstdint>
#include <cstring>

namespace zir::core {

namespace {

constexpr std::uint64_t Repeated(unsigned char byte) {
    return 0x0101010101010101ull * byte;
}

// True when none of the 8 bytes needs a look of its own: printable ASCII other than '"' and
// '\\'. The photo text is tens of kilobytes of such bytes, so it is scanned a word at a time.
bool PlainWord(std::uint64_t word) {
    constexpr std::uint64_t high = Repeated(0x80);
    const auto hasZero = [](std::uint64_t w) { return (w - Repeated(0x01)) & ~w & high; };
    const std::uint64_t control = (word - Repeated(0x20)) & ~word & high; // a byte below 0x20
    return ((word & high) | control | hasZero(word ^ Repeated('"')) |
            hasZero(word ^ Repeated('\\'))) == 0;
}

} // namespace

void AppendJsonEscaped(std::string& out, std::string_view text) {
    static const char hex[] = "0123456789ABCDEF";
    size_t plain = 0; // start of the run of bytes that need no escape
    for (size_t i = 0; i < text.size(); ++i) {
        while (text.size() - i >= 8) {
            std::uint64_t word;
            std::memcpy(&word, text.data() + i, 8);
            if (!PlainWord(word))
                break;
            i += 8;
        }
        if (i == text.size())
            break;
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
