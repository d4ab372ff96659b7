#include "core/PhotoEncoding.h"

#include "platform/SharedFileRead.h"

#include <algorithm>
#include <stdexcept>
#include <streambuf>

namespace zir::core {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::size_t kBlockBytes = 510; // a multiple of 3: only the last block pads
constexpr std::size_t kLineChars = 76;

// Reads straight from bytes already in memory, so the file is not copied a second time.
class MemoryReadBuffer : public std::streambuf {
  public:
    explicit MemoryReadBuffer(std::string& bytes) {
        char* begin = bytes.data();
        setg(begin, begin, begin + bytes.size());
    }
};

// Appends whatever is written to one string: the text is held once.
class StringAppendBuffer : public std::streambuf {
  public:
    explicit StringAppendBuffer(std::string& text) : text_(text) {}

  protected:
    int_type overflow(int_type c) override {
        if (!traits_type::eq_int_type(c, traits_type::eof()))
            text_.push_back(traits_type::to_char_type(c));
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        text_.append(s, static_cast<std::size_t>(n));
        return n;
    }

  private:
    std::string& text_;
};

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
    std::string bytes = platform::ReadWholeFileShared(path);
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4 + bytes.size() / 57 * 2 + 2);
    {
        MemoryReadBuffer source(bytes);
        std::istream in(&source);
        StringAppendBuffer sink(text);
        std::ostream out(&sink);
        Base64EncodeStream(in, out);
        if (!out)
            throw std::runtime_error("cannot encode " + path);
    }
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    text.erase(std::remove(text.begin(), text.end(), '\n'), text.end());
    return text;
}

} // namespace zir::core
