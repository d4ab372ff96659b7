// The settings file's text as a user or another program may have left it, and the integer rule
// that the file and the settings dialog share.

#include "FuzzCheck.h"

#include "config/ConfigHelper.h"

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace zir::config;

namespace {

bool operator==(const TConfigRec& a, const TConfigRec& b) {
    return a.WebPort == b.WebPort && a.WebType == b.WebType && a.WebCache == b.WebCache &&
           a.WebSound == b.WebSound;
}

// The integer rule written another way, on the standard library's digit parser: leading spaces,
// one sign, "$", "x" or "0x" for hexadecimal, then digits to the end, within 32 bits.
bool ReferenceInteger(std::string_view text, int32_t& value) {
    size_t i = text.find_first_not_of(' ');
    if (i == std::string_view::npos)
        return false;
    const bool negative = text[i] == '-';
    if (text[i] == '-' || text[i] == '+')
        ++i;
    std::string_view digits = text.substr(i);
    int base = 10;
    if (!digits.empty() && (digits[0] == '$' || digits[0] == 'x' || digits[0] == 'X'))
        base = 16, digits.remove_prefix(1);
    else if (digits.size() >= 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X'))
        base = 16, digits.remove_prefix(2);
    if (digits.empty() || digits[0] == '+' || digits[0] == '-')
        return false;
    uint64_t magnitude = 0;
    auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), magnitude, base);
    if (error != std::errc() || end != digits.data() + digits.size())
        return false;
    if (magnitude > (negative ? 0x80000000ull : 0x7FFFFFFFull))
        return false;
    value = static_cast<int32_t>(negative ? -static_cast<int64_t>(magnitude)
                                          : static_cast<int64_t>(magnitude));
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    int32_t value = 7, reference = 7;
    const bool parsed = TryParseConfigInteger(text, value);
    FUZZ_CHECK(parsed == ReferenceInteger(text, reference));
    FUZZ_CHECK(value == (parsed ? reference : 7)); // a failure leaves the value as it was

    // A load either reads every key, and then what a save writes reads back the same, or it
    // names the value that stopped it.
    TConfigRec rec{11, 12, 13, 14};
    const std::string error = ApplyConfigText(text, rec);
    if (error.empty()) {
        TConfigRec again{};
        const std::string saved = ConfigFileText(rec);
        FUZZ_CHECK(ApplyConfigText(saved, again).empty());
        FUZZ_CHECK(again == rec);
        FUZZ_CHECK(ConfigFileText(again) == saved);
    } else {
        FUZZ_CHECK(error.front() == '\'');
        FUZZ_CHECK(error.size() <= text.size() + 32);
        FUZZ_CHECK(error.ends_with("' is not a valid integer value"));
    }
    return 0;
}
