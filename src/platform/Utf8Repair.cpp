#include "platform/Utf8Repair.h"

namespace zir::platform {

std::size_t Utf8SequenceLength(std::string_view text, std::size_t at) {
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[at + k]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    // The second byte's range carries the rules against overlong forms, surrogates and values
    // past U+10FFFF; every later byte is a plain continuation byte.
    std::size_t length;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() - at < length || byte(1) < low || byte(1) > high)
        return 0;
    for (std::size_t k = 2; k < length; ++k)
        if ((byte(k) & 0xC0) != 0x80)
            return 0;
    return length;
}

std::string RepairUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t plain = 0; // start of the run of bytes that stay as they are
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, i);
        if (length != 0) {
            i += length;
            continue;
        }
        out.append(text.substr(plain, i - plain));
        out.append(kUtf8Replacement);
        plain = ++i;
    }
    out.append(text.substr(plain));
    return out;
}

bool IsValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, i);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

} // namespace zir::platform
