#include "platform/Text.h"

#include "platform/Utf8Codec.h"

#include <windows.h>

namespace zir::platform {

namespace {

// One GBK character: a single byte below 0x80, or a lead byte 0x81..0xFE with a trail byte
// 0x40..0x7E or 0x80..0xFE. Returns its length, or 0 when the bytes there are no character.
size_t GbkCharLength(std::string_view gbk, size_t i) {
    unsigned char lead = static_cast<unsigned char>(gbk[i]);
    if (lead < 0x80 || lead == 0x80)
        return 1;
    if (lead == 0xFF || i + 1 >= gbk.size())
        return 0;
    unsigned char trail = static_cast<unsigned char>(gbk[i + 1]);
    if (trail < 0x40 || trail == 0x7F || trail == 0xFF)
        return 0;
    return 2;
}

} // namespace

std::string Cp936ToUtf8(std::string_view gbk) {
    std::string out;
    out.reserve(gbk.size() * 3 / 2);
    for (size_t i = 0; i < gbk.size();) {
        size_t length = GbkCharLength(gbk, i);
        wchar_t wide[2];
        int n = 0;
        if (length != 0)
            n = MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, gbk.data() + i,
                                    static_cast<int>(length), wide, 2);
        if (n <= 0) {
            // A byte that starts no character is replaced alone, so what follows it survives.
            AppendUtf8(out, kReplacement);
            ++i;
            continue;
        }
        for (int k = 0; k < n; ++k)
            AppendUtf8(out, static_cast<char16_t>(wide[k]));
        i += length;
    }
    return out;
}

std::string Utf8ToCp936(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        char32_t cp;
        size_t length = DecodeUtf8(utf8, i, cp);
        if (length == 0) {
            out.push_back('?');
            ++i;
            continue;
        }
        i += length;
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
            continue;
        }
        wchar_t wide[2];
        int wideLength = 1;
        if (cp >= 0x10000) {
            wide[0] = static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10));
            wide[1] = static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
            wideLength = 2;
        } else {
            wide[0] = static_cast<wchar_t>(cp);
        }
        char bytes[8];
        BOOL usedDefault = FALSE;
        int n = WideCharToMultiByte(936, 0, wide, wideLength, bytes, sizeof bytes, nullptr,
                                    &usedDefault);
        if (n <= 0 || usedDefault)
            out.push_back('?');
        else
            out.append(bytes, static_cast<size_t>(n));
    }
    return out;
}

} // namespace zir::platform
