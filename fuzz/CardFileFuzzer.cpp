// The simulated reader's card file as a tester may write it: whatever the text, the card stays
// within what a reader can deliver.

#include "FuzzCheck.h"

#include "platform/Text.h"
#include "platform/Utf8Codec.h"
#include "reader/simulator/core/SimulatedCard.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace zir;
using namespace zir::reader::simulator;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string warnings;
    const SimulatedCard card = ParseCardFile(text, "/cards", &warnings);

    // A field fits the reader's 256-byte buffer, a UID the 32-byte one, a delay its bound.
    for (const std::string& field : card.Fields)
        FUZZ_CHECK(field.size() <= 256);
    FUZZ_CHECK(card.Uid.size() <= 32);
    FUZZ_CHECK(card.DelayMs >= 0 && card.DelayMs <= 10000);
    FUZZ_CHECK(card.Photo.empty() || card.Photo.front() == '/');

    // Without ".hex" keys every field is text: GBK that leaves room for the terminator and
    // converts back without a broken character (the demo card's own fields are known good).
    if (text.find(".hex") == std::string_view::npos) {
        static const SimulatedCard demo = DemoCard();
        for (std::size_t i = 0; i < kCardFieldCount; ++i) {
            const std::string& field = card.Fields[i];
            FUZZ_CHECK(field.size() <= 255);
            if (field != demo.Fields[i])
                FUZZ_CHECK(platform::Cp936ToUtf8(field).find(platform::kUtf8Replacement) ==
                           std::string::npos);
        }
    }

    // Warnings are whole lines, one for each line that was not understood.
    FUZZ_CHECK(warnings.empty() || warnings.back() == '\n');
    FUZZ_CHECK(std::count(warnings.begin(), warnings.end(), '\n') <=
               std::count(text.begin(), text.end(), '\n') + 1);
    return 0;
}
