#include "reader/simulator/core/SimulatedCard.h"

#include "platform/Environment.h"
#include "platform/Paths.h"
#include "platform/Text.h"

#include <charconv>

namespace zir::reader::simulator {

namespace {

constexpr std::array<std::string_view, kCardFieldCount> kFieldKeys = {
    "Name",      "Sex",     "Nation",  "Birthday", "Address", "IdCode",      "Department",
    "StartDate", "EndDate", "PassNum", "NameEn",   "Country", "CountryCode",
};

// The most a card file may say about one field: the reader's field buffer holds 256 bytes.
constexpr std::size_t kFieldBytes = 256;
// readCardGetUID may be given a 32-byte buffer, so a UID never exceeds it.
constexpr std::size_t kUidBytes = 32;
// A reader call that takes longer than this is not imitating a reader any more.
constexpr int32_t kMaxDelayMs = 10000;

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::optional<int32_t> ParseNumber(std::string_view text) {
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int32_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

std::optional<std::string> ParseHex(std::string_view text) {
    std::string bytes;
    int high = -1;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else if (c == ' ' || c == '\t')
            continue;
        else
            return std::nullopt;
        if (high < 0) {
            high = digit;
        } else {
            bytes.push_back(static_cast<char>(high * 16 + digit));
            high = -1;
        }
    }
    if (high >= 0)
        return std::nullopt;
    return bytes;
}

// GBK text for a field buffer: at most 255 bytes so that the terminator fits, never half a
// double-byte character at the end.
std::string FieldText(std::string_view utf8) {
    std::string gbk = platform::Utf8ToCp936(utf8);
    if (gbk.size() < kFieldBytes)
        return gbk;
    std::size_t keep = 0;
    while (keep < gbk.size()) {
        std::size_t length = static_cast<unsigned char>(gbk[keep]) >= 0x81 ? 2 : 1;
        if (keep + length > kFieldBytes - 1)
            break;
        keep += length;
    }
    gbk.resize(keep);
    return gbk;
}

bool IsAbsolute(const std::string& path) {
    return platform::AbsolutePath(path) == path;
}

} // namespace

std::string_view CardFieldKey(CardField field) {
    return kFieldKeys[static_cast<std::size_t>(field)];
}

SimulatedCard DemoCard() {
    SimulatedCard card;
    const char* texts[kCardFieldCount] = {
        "张示例",
        "男",
        "汉",
        "19900101",
        "北京市东城区示例路1号",
        "110101199001010031",
        "北京市公安局东城分局",
        "20200101",
        "20400101",
        "H01234567",
        "ZHANG SHILI",
        "中国",
        "CHN",
    };
    for (std::size_t i = 0; i < kCardFieldCount; ++i)
        card.Fields[i] = FieldText(texts[i]);
    return card;
}

SimulatedCard ParseCardFile(std::string_view text, const std::string& folder,
                            std::string* warnings) {
    SimulatedCard card = DemoCard();
    auto warn = [&](std::size_t lineNumber, std::string_view key, const char* what) {
        if (warnings)
            *warnings +=
                "line " + std::to_string(lineNumber) + ": " + std::string(key) + ": " + what + "\n";
    };
    // A .hex key wins over the plain key, wherever each stands.
    std::array<bool, kCardFieldCount> fromHex{};
    bool uidFromHex = false;

    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        line = Trim(line);
        if (line.empty() || line.front() == '#')
            continue;
        std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            warn(lineNumber, line, "no '=' in this line");
            continue;
        }
        std::string_view key = Trim(line.substr(0, equals));
        std::string_view value = Trim(line.substr(equals + 1));
        bool hex = key.size() > 4 && key.substr(key.size() - 4) == ".hex";
        std::string_view baseKey = hex ? key.substr(0, key.size() - 4) : key;

        bool known = false;
        for (std::size_t i = 0; i < kCardFieldCount && !known; ++i) {
            if (baseKey != kFieldKeys[i])
                continue;
            known = true;
            if (hex) {
                auto bytes = ParseHex(value);
                if (!bytes) {
                    warn(lineNumber, key, "not hex bytes");
                } else {
                    if (bytes->size() > kFieldBytes)
                        bytes->resize(kFieldBytes);
                    card.Fields[i] = *bytes;
                    fromHex[i] = true;
                }
            } else if (!fromHex[i]) {
                card.Fields[i] = FieldText(value);
            }
        }
        if (known)
            continue;
        if (baseKey == "Uid") {
            if (hex) {
                auto bytes = ParseHex(value);
                if (!bytes) {
                    warn(lineNumber, key, "not hex bytes");
                    continue;
                }
                card.Uid = *bytes;
                uidFromHex = true;
            } else if (!uidFromHex) {
                card.Uid = std::string(value);
            }
            if (card.Uid.size() > kUidBytes)
                card.Uid.resize(kUidBytes);
            continue;
        }
        if (hex)
            continue;
        if (key == "Photo") {
            std::string path(value);
            if (path.empty())
                card.Photo.clear();
            else
                card.Photo = IsAbsolute(path) ? path : folder + platform::PathSeparator() + path;
            continue;
        }
        struct NumberKey {
            std::string_view Key;
            int32_t SimulatedCard::*Member;
        };
        static const NumberKey numbers[] = {
            {"CardType", &SimulatedCard::CardType},
            {"UidCardType", &SimulatedCard::UidCardType},
            {"SamResult", &SimulatedCard::SamResult},
            {"SelectResult", &SimulatedCard::SelectResult},
            {"PhotoRawResult", &SimulatedCard::PhotoRawResult},
            {"UnpackResult", &SimulatedCard::UnpackResult},
            {"UidResult", &SimulatedCard::UidResult},
            {"DelayMs", &SimulatedCard::DelayMs},
        };
        for (const auto& number : numbers) {
            if (key != number.Key)
                continue;
            if (auto parsed = ParseNumber(value))
                card.*number.Member = *parsed;
            else
                warn(lineNumber, key, "not a 32-bit integer");
        }
    }
    if (card.DelayMs < 0)
        card.DelayMs = 0;
    if (card.DelayMs > kMaxDelayMs)
        card.DelayMs = kMaxDelayMs;
    return card;
}

} // namespace zir::reader::simulator
