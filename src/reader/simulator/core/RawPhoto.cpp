#include "reader/simulator/core/RawPhoto.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string_view>

namespace zir::reader::simulator {

namespace {
constexpr std::string_view kMagic = "ZIR-SIMULATED-RAW-PHOTO\n";

bool TakeNumberLine(std::string_view& text, int32_t& value) {
    std::size_t end = text.find('\n');
    if (end == std::string_view::npos)
        return false;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + end, value);
    if (ec != std::errc() || ptr != text.data() + end)
        return false;
    text.remove_prefix(end + 1);
    return true;
}
} // namespace

std::size_t WriteRawPhoto(const RawPhoto& raw, unsigned char* buffer) {
    std::string text = std::string(kMagic) + std::to_string(raw.UnpackResult) + "\n" +
                       std::to_string(raw.DelayMs) + "\n" + raw.Photo + "\n";
    if (text.size() >= kRawPhotoBytes)
        return 0;
    std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = 0;
    return text.size();
}

std::optional<RawPhoto> ReadRawPhoto(const unsigned char* buffer) {
    const char* chars = reinterpret_cast<const char*>(buffer);
    std::string_view text(
        chars, static_cast<std::size_t>(std::find(chars, chars + kRawPhotoBytes, '\0') - chars));
    if (text.substr(0, kMagic.size()) != kMagic)
        return std::nullopt;
    text.remove_prefix(kMagic.size());
    RawPhoto raw;
    if (!TakeNumberLine(text, raw.UnpackResult) || !TakeNumberLine(text, raw.DelayMs))
        return std::nullopt;
    std::size_t end = text.find('\n');
    if (end == std::string_view::npos)
        return std::nullopt;
    raw.Photo = std::string(text.substr(0, end));
    return raw;
}

} // namespace zir::reader::simulator
