#include "core/PhotoEncoding.h"

#include "platform/SharedFileRead.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

namespace zir::core {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::size_t kBlockBytes = 510; // a multiple of 3: only the last block pads
constexpr std::size_t kLineChars = 76;

} // namespace

void Base64EncodeStream(std::istream& in, std::ostream& out) {
    unsigned char block[kBlockBytes];
    // 170 groups of 4 characters and a line break after at most every 19 of them.
    char text[kBlockBytes / 3 * 4 + (kBlockBytes / 3 / (kLineChars / 4) + 1) * 2];
    std::size_t lineChars = 0; // carries over from block to block
    for (;;) {
        in.read(reinterpret_cast<char*>(block), kBlockBytes);
        std::size_t got = static_cast<std::size_t>(in.gcount());
        if (got == 0)
            break;
        std::size_t used = 0;
        for (std::size_t i = 0; i < got; i += 3) {
            std::size_t groupBytes = std::min<std::size_t>(3, got - i);
            unsigned b1 = block[i];
            unsigned b2 = groupBytes > 1 ? block[i + 1] : 0;
            unsigned b3 = groupBytes > 2 ? block[i + 2] : 0;
            text[used++] = kAlphabet[b1 >> 2];
            text[used++] = kAlphabet[((b1 & 0x03) << 4) | (b2 >> 4)];
            text[used++] = groupBytes > 1 ? kAlphabet[((b2 & 0x0F) << 2) | (b3 >> 6)] : '=';
            text[used++] = groupBytes > 2 ? kAlphabet[b3 & 0x3F] : '=';
            lineChars += 4;
            if (lineChars > kLineChars - 1) {
                text[used++] = '\r';
                text[used++] = '\n';
                lineChars = 0;
            }
        }
        out.write(text, static_cast<std::streamsize>(used));
    }
}

std::string PhotoFileToBase64(const std::string& path) {
    const std::string bytes = platform::ReadWholeFileShared(path);
    // The same characters as Base64EncodeStream without its line breaks, written straight into
    // a text of the final size: the photo is in every full-read answer.
    std::string text((bytes.size() + 2) / 3 * 4, '\0');
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    char* out = text.data();
    std::size_t whole = bytes.size() / 3 * 3;
    for (std::size_t i = 0; i < whole; i += 3) {
        const std::uint32_t group = (std::uint32_t{in[i]} << 16) |
                                    (std::uint32_t{in[i + 1]} << 8) | in[i + 2];
        out[0] = kAlphabet[group >> 18];
        out[1] = kAlphabet[(group >> 12) & 0x3F];
        out[2] = kAlphabet[(group >> 6) & 0x3F];
        out[3] = kAlphabet[group & 0x3F];
        out += 4;
    }
    const std::size_t rest = bytes.size() - whole;
    if (rest > 0) {
        const std::uint32_t b1 = in[whole];
        const std::uint32_t b2 = rest > 1 ? in[whole + 1] : 0;
        out[0] = kAlphabet[b1 >> 2];
        out[1] = kAlphabet[((b1 & 0x03) << 4) | (b2 >> 4)];
        out[2] = rest > 1 ? kAlphabet[(b2 & 0x0F) << 2] : '=';
        out[3] = '=';
    }
    return text;
}

} // namespace zir::core
