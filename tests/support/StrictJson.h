#pragma once

// A strict JSON reader for the tests: RFC 8259 grammar, well-formed UTF-8 only, no raw control
// characters in strings, no duplicate keys, nothing after the value. Strings are decoded, so a
// test can compare what a client would see with what went in.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zir::test {

struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object } kind = Kind::Null;
    std::string text; // String: the decoded text; Number/Bool: the literal
    std::vector<JsonValue> items;
    // Object members in document order: keys[i] names values[i].
    std::vector<std::string> keys;
    std::vector<JsonValue> values;

    const JsonValue* Find(const std::string& key) const {
        for (size_t i = 0; i < keys.size(); ++i)
            if (keys[i] == key)
                return &values[i];
        return nullptr;
    }
    std::vector<std::string> Keys() const { return keys; }
};

class StrictJsonReader {
  public:
    // True when text is exactly one well-formed JSON value; error says where it went wrong.
    static bool Parse(std::string_view text, JsonValue& out, std::string& error) {
        StrictJsonReader r(text);
        if (!r.Value(out, 0))
            return error = r.error_, false;
        r.Blanks();
        if (r.pos_ != text.size())
            return error = "trailing bytes at " + std::to_string(r.pos_), false;
        return true;
    }

  private:
    explicit StrictJsonReader(std::string_view text) : s_(text) {}

    bool Fail(const std::string& what) {
        error_ = what + " at " + std::to_string(pos_);
        return false;
    }
    void Blanks() {
        while (pos_ < s_.size() &&
               (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\n' || s_[pos_] == '\r'))
            ++pos_;
    }
    bool Literal(std::string_view word) {
        if (s_.substr(pos_, word.size()) != word)
            return Fail("bad literal");
        pos_ += word.size();
        return true;
    }

    bool Value(JsonValue& v, int depth) {
        if (depth > 64)
            return Fail("too deep");
        Blanks();
        if (pos_ >= s_.size())
            return Fail("value expected");
        char c = s_[pos_];
        if (c == '{')
            return Object(v, depth);
        if (c == '[')
            return Array(v, depth);
        if (c == '"')
            return v.kind = JsonValue::Kind::String, String(v.text);
        if (c == 't' || c == 'f' || c == 'n') {
            std::string_view word = c == 't' ? "true" : c == 'f' ? "false" : "null";
            v.kind = c == 'n' ? JsonValue::Kind::Null : JsonValue::Kind::Bool;
            v.text = word;
            return Literal(word);
        }
        return Number(v);
    }

    bool Number(JsonValue& v) {
        size_t start = pos_;
        auto digits = [&] {
            size_t from = pos_;
            while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9')
                ++pos_;
            return pos_ > from;
        };
        if (pos_ < s_.size() && s_[pos_] == '-')
            ++pos_;
        if (pos_ < s_.size() && s_[pos_] == '0')
            ++pos_;
        else if (!digits())
            return Fail("bad number");
        if (pos_ < s_.size() && s_[pos_] == '.') {
            ++pos_;
            if (!digits())
                return Fail("bad fraction");
        }
        if (pos_ < s_.size() && (s_[pos_] == 'e' || s_[pos_] == 'E')) {
            ++pos_;
            if (pos_ < s_.size() && (s_[pos_] == '+' || s_[pos_] == '-'))
                ++pos_;
            if (!digits())
                return Fail("bad exponent");
        }
        v.kind = JsonValue::Kind::Number;
        v.text = std::string(s_.substr(start, pos_ - start));
        return true;
    }

    bool Array(JsonValue& v, int depth) {
        v.kind = JsonValue::Kind::Array;
        ++pos_;
        Blanks();
        if (pos_ < s_.size() && s_[pos_] == ']')
            return ++pos_, true;
        for (;;) {
            JsonValue item;
            if (!Value(item, depth + 1))
                return false;
            v.items.push_back(std::move(item));
            Blanks();
            if (pos_ < s_.size() && s_[pos_] == ',') {
                ++pos_;
                continue;
            }
            if (pos_ < s_.size() && s_[pos_] == ']')
                return ++pos_, true;
            return Fail("',' or ']' expected");
        }
    }

    bool Object(JsonValue& v, int depth) {
        v.kind = JsonValue::Kind::Object;
        ++pos_;
        Blanks();
        if (pos_ < s_.size() && s_[pos_] == '}')
            return ++pos_, true;
        for (;;) {
            Blanks();
            std::string key;
            if (pos_ >= s_.size() || s_[pos_] != '"')
                return Fail("key expected");
            if (!String(key))
                return false;
            if (v.Find(key))
                return Fail("duplicate key " + key);
            Blanks();
            if (pos_ >= s_.size() || s_[pos_] != ':')
                return Fail("':' expected");
            ++pos_;
            JsonValue member;
            if (!Value(member, depth + 1))
                return false;
            v.keys.push_back(std::move(key));
            v.values.push_back(std::move(member));
            Blanks();
            if (pos_ < s_.size() && s_[pos_] == ',') {
                ++pos_;
                continue;
            }
            if (pos_ < s_.size() && s_[pos_] == '}')
                return ++pos_, true;
            return Fail("',' or '}' expected");
        }
    }

    static void AppendUtf8(std::string& out, uint32_t cp) {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }

    bool Hex4(uint32_t& value) {
        if (pos_ + 4 > s_.size())
            return Fail("short \\u escape");
        value = 0;
        for (int i = 0; i < 4; ++i) {
            char c = s_[pos_++];
            int d = c >= '0' && c <= '9'   ? c - '0'
                    : c >= 'a' && c <= 'f' ? c - 'a' + 10
                    : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                           : -1;
            if (d < 0)
                return Fail("bad hex digit");
            value = value * 16 + static_cast<uint32_t>(d);
        }
        return true;
    }

    // One UTF-8 sequence starting at pos_, checked for shortest form, no surrogates, <= U+10FFFF.
    bool Utf8(std::string& out) {
        unsigned char b = static_cast<unsigned char>(s_[pos_]);
        int extra = b >= 0xF0 && b <= 0xF4   ? 3
                    : b >= 0xE0 && b <= 0xEF ? 2
                    : b >= 0xC2 && b <= 0xDF ? 1
                                             : -1;
        if (extra < 0)
            return Fail("invalid UTF-8 lead byte");
        if (pos_ + static_cast<size_t>(extra) >= s_.size())
            return Fail("truncated UTF-8");
        uint32_t cp = b & (extra == 1 ? 0x1F : extra == 2 ? 0x0F : 0x07);
        for (int i = 1; i <= extra; ++i) {
            unsigned char c = static_cast<unsigned char>(s_[pos_ + static_cast<size_t>(i)]);
            if ((c & 0xC0) != 0x80)
                return Fail("invalid UTF-8 continuation");
            cp = (cp << 6) | (c & 0x3F);
        }
        if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return Fail("overlong or out-of-range UTF-8");
        out.append(s_.substr(pos_, static_cast<size_t>(extra) + 1));
        pos_ += static_cast<size_t>(extra) + 1;
        return true;
    }

    bool String(std::string& out) {
        ++pos_; // opening quote
        for (;;) {
            if (pos_ >= s_.size())
                return Fail("unterminated string");
            unsigned char c = static_cast<unsigned char>(s_[pos_]);
            if (c == '"')
                return ++pos_, true;
            if (c < 0x20)
                return Fail("raw control character in string");
            if (c >= 0x80) {
                if (!Utf8(out))
                    return false;
                continue;
            }
            if (c != '\\') {
                out += static_cast<char>(c);
                ++pos_;
                continue;
            }
            if (++pos_ >= s_.size())
                return Fail("unterminated escape");
            char e = s_[pos_++];
            switch (e) {
            case '"':
                out += '"';
                break;
            case '\\':
                out += '\\';
                break;
            case '/':
                out += '/';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                uint32_t cp = 0;
                if (!Hex4(cp))
                    return false;
                if (cp >= 0xDC00 && cp <= 0xDFFF)
                    return Fail("lone low surrogate");
                if (cp >= 0xD800 && cp <= 0xDBFF) {
                    uint32_t low = 0;
                    if (s_.substr(pos_, 2) != "\\u")
                        return Fail("lone high surrogate");
                    pos_ += 2;
                    if (!Hex4(low) || low < 0xDC00 || low > 0xDFFF)
                        return Fail("bad surrogate pair");
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                }
                AppendUtf8(out, cp);
                break;
            }
            default:
                return Fail("bad escape");
            }
        }
    }

    std::string_view s_;
    size_t pos_ = 0;
    std::string error_;
};

} // namespace zir::test
