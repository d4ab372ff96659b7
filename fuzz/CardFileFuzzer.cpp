// The simulated reader's card file as a tester may write it: whatever the text, the card stays
// within what a reader can deliver.

#include "FuzzCheck.h"

#include "platform/Text.h"
#include "platform/Utf8Repair.h"
#include "reader/simulator/core/SimulatedCard.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace zir;
using namespace zir::reader::simulator;

namespace {

bool SameCard(const SimulatedCard& a, const SimulatedCard& b) {
    return a.CardType == b.CardType && a.Fields == b.Fields && a.Uid == b.Uid &&
           a.UidCardType == b.UidCardType && a.SamResult == b.SamResult &&
           a.SelectResult == b.SelectResult && a.PhotoRawResult == b.PhotoRawResult &&
           a.UnpackResult == b.UnpackResult && a.UidResult == b.UidResult && a.Photo == b.Photo &&
           a.DelayMs == b.DelayMs;
}

} // namespace

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
    // converts back without a broken character.
    if (text.find(".hex") == std::string_view::npos) {
        for (const std::string& field : card.Fields) {
            FUZZ_CHECK(field.size() <= 255);
            FUZZ_CHECK(platform::Cp936ToUtf8(field).find(platform::kUtf8Replacement) ==
                       std::string::npos);
        }
    }

    // Warnings are whole lines, one per line that was not understood; the same text parses to
    // the same card.
    FUZZ_CHECK(warnings.empty() || warnings.back() == '\n');
    std::string again;
    FUZZ_CHECK(SameCard(ParseCardFile(text, "/cards", &again), card));
    FUZZ_CHECK(again == warnings);
    return 0;
}
