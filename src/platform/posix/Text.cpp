#include "platform/Text.h"

#include "platform/Utf8Codec.h"

#include <cerrno>
#include <iconv.h>

namespace zir::platform {

namespace {

// iconv with our own handling of bad input: glibc stops at an invalid or truncated sequence,
// we put a replacement there and carry on behind it.
class Converter {
  public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok())
            iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as it can from in; returns false where it stopped on a bad sequence.
    bool Convert(const char*& in, size_t& inLeft, std::string& out) {
        char buffer[1024];
        while (inLeft > 0) {
            char* inPtr = const_cast<char*>(in);
            char* outPtr = buffer;
            size_t outLeft = sizeof buffer;
            size_t r = iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft);
            in = inPtr;
            out.append(buffer, sizeof buffer - outLeft);
            if (r == static_cast<size_t>(-1) && errno != E2BIG)
                return false;
        }
        return true;
    }

    void Reset() { iconv(handle_, nullptr, nullptr, nullptr, nullptr); }

  private:
    iconv_t handle_;
};

} // namespace

std::string Cp936ToUtf8(std::string_view gbk) {
    std::string out;
    out.reserve(gbk.size() * 3 / 2);
    Converter converter("UTF-8", "CP936");
    if (!converter.ok()) {
        // Without the converter ASCII still passes and nothing else is guessed at.
        for (unsigned char c : gbk)
            AppendUtf8(out, c < 0x80 ? c : kReplacement);
        return out;
    }
    const char* in = gbk.data();
    size_t left = gbk.size();
    while (!converter.Convert(in, left, out)) {
        AppendUtf8(out, kReplacement);
        ++in;
        --left;
        converter.Reset();
    }
    return out;
}

std::string Utf8ToCp936(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    Converter converter("CP936", "UTF-8");
    const char* in = utf8.data();
    size_t left = utf8.size();
    while (left > 0) {
        // Well-formed characters go to iconv; it can still refuse one that GBK lacks.
        char32_t cp;
        size_t length = DecodeUtf8(std::string_view(in, left), 0, cp);
        if (length == 0) {
            out.push_back('?');
            ++in, --left;
            continue;
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else {
            const char* one = in;
            size_t oneLeft = length;
            if (!converter.ok() || !converter.Convert(one, oneLeft, out)) {
                out.push_back('?');
                if (converter.ok())
                    converter.Reset();
            }
        }
        in += length, left -= length;
    }
    return out;
}

} // namespace zir::platform
