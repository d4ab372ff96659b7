#include "platform/Text.h"

#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <iconv.h>
#endif

namespace zir::platform {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Decodes one UTF-8 sequence at text[i]. Returns its length, or 0 when the bytes there are not
// a well-formed sequence (overlong forms, surrogates and values past U+10FFFF included).
size_t DecodeUtf8(std::string_view text, size_t i, char32_t& cp) {
    auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    unsigned char lead = byte(i);
    size_t length;
    char32_t min;
    if (lead < 0x80) {
        cp = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, cp = lead & 0x1F, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, cp = lead & 0x0F, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, cp = lead & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return length;
}

#ifdef _WIN32

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

std::string Cp936ToUtf8Native(std::string_view gbk) {
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

std::string Utf8ToCp936Native(std::string_view utf8) {
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

#else

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

std::string Cp936ToUtf8Native(std::string_view gbk) {
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

std::string Utf8ToCp936Native(std::string_view utf8) {
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

#endif

} // namespace

std::string Cp936ToUtf8(std::string_view gbk) {
    return Cp936ToUtf8Native(gbk);
}

std::string Utf8ToCp936(std::string_view utf8) {
    return Utf8ToCp936Native(utf8);
}

std::wstring Utf8ToWide(std::string_view utf8) {
    std::wstring out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        char32_t cp;
        size_t length = DecodeUtf8(utf8, i, cp);
        if (length == 0) {
            cp = kReplacement;
            length = 1;
        }
        i += length;
        if constexpr (sizeof(wchar_t) == 2) {
            if (cp >= 0x10000) {
                out.push_back(static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10)));
                out.push_back(static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
                continue;
            }
        }
        out.push_back(static_cast<wchar_t>(cp));
    }
    return out;
}

std::string WideToUtf8(std::wstring_view wide) {
    std::string out;
    out.reserve(wide.size() * 3);
    for (size_t i = 0; i < wide.size(); ++i) {
        char32_t cp = static_cast<char32_t>(wide[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            cp &= 0xFFFF;
            if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < wide.size()) {
                char32_t low = static_cast<char32_t>(wide[i + 1]) & 0xFFFF;
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                    ++i;
                }
            }
        }
        if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)
            cp = kReplacement;
        AppendUtf8(out, cp);
    }
    return out;
}

std::string_view TrimBlanksAndControls(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 0x20)
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 0x20)
        text.remove_suffix(1);
    return text;
}

namespace {
char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
} // namespace

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}

std::string AsciiUpperCase(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string AsciiLowerCase(std::string text) {
    for (char& c : text)
        c = LowerAscii(c);
    return text;
}

} // namespace zir::platform
