// A text field as the reader library fills its buffer, through the trimming and the GBK
// conversion it takes on its way into the card record; and the program's other text
// conversions on the same bytes.

#include "FuzzCheck.h"

#include "core/ICH.h"
#include "platform/Text.h"
#include "platform/Utf8Codec.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace zir;

namespace {

bool Blank(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

bool Ascii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // The trimmed text is the buffer without its blank and control bytes at either end.
    const std::string text = core::BufferToText(bytes.data(), bytes.size());
    size_t first = 0;
    while (first < bytes.size() && Blank(bytes[first]))
        ++first;
    FUZZ_CHECK(bytes.compare(first, text.size(), text) == 0);
    for (size_t i = first + text.size(); i < bytes.size(); ++i)
        FUZZ_CHECK(Blank(bytes[i]));
    FUZZ_CHECK(text.empty() || (!Blank(text.front()) && !Blank(text.back())));

    // GBK to UTF-8: always valid UTF-8, ASCII unchanged, and a text that converted without a
    // replacement converts back to the same bytes.
    const std::string utf8 = platform::Cp936ToUtf8(text);
    FUZZ_CHECK(platform::IsValidUtf8(utf8));
    if (Ascii(text))
        FUZZ_CHECK(utf8 == text);
    if (utf8.find(platform::kUtf8Replacement) == std::string::npos)
        FUZZ_CHECK(platform::Utf8ToCp936(utf8) == text);

    // The same bytes taken as UTF-8: the UTF-16 round trip of the Windows shell repairs them
    // exactly as the documents do, and the way back to GBK never breaks.
    const std::string repaired = platform::RepairUtf8(bytes);
    FUZZ_CHECK(platform::IsValidUtf8(repaired));
    FUZZ_CHECK((repaired == bytes) == platform::IsValidUtf8(bytes));
    FUZZ_CHECK(platform::WideToUtf8(platform::Utf8ToWide(bytes)) == repaired);
    FUZZ_CHECK(platform::IsValidUtf8(platform::Cp936ToUtf8(platform::Utf8ToCp936(bytes))));
    return 0;
}
