#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zir::reader::simulator {

// The text fields a card delivers, in the order of the card file's keys.
enum class CardField {
    Name,
    Sex,
    Nation,
    Birthday,
    Address,
    IdCode,
    Department,
    StartDate,
    EndDate,
    PassNum,
    NameEn,
    Country,
    CountryCode,
};
inline constexpr std::size_t kCardFieldCount = 13;

// The card file key of a field ("Name", "IdCode", ...).
std::string_view CardFieldKey(CardField field);

// One card lying on the simulated reader, and how the reader answers for it.
struct SimulatedCard {
    int32_t CardType = 1;
    // The bytes each field function delivers (GBK text, or the exact bytes of a .hex key).
    std::array<std::string, kCardFieldCount> Fields;
    std::string Uid = "0123456789ABCDEF";
    int32_t UidCardType = 16;
    int32_t SamResult = 144;
    int32_t SelectResult = 144;
    int32_t PhotoRawResult = 1;
    int32_t UnpackResult = 1;
    int32_t UidResult = 1;
    // Absolute path of the bitmap unpack writes; empty: the generated portrait.
    std::string Photo;
    int32_t DelayMs = 0;

    const std::string& Field(CardField field) const {
        return Fields[static_cast<std::size_t>(field)];
    }
};

// The built-in demo card: a fictional resident identity card.
SimulatedCard DemoCard();

// Parses a card file (UTF-8, Key=Value lines, '#' comments, unknown keys ignored). Keys not in
// the file keep the demo card's values. folder resolves a relative Photo path. Lines that cannot
// be understood are described in warnings, one per line, and otherwise ignored.
SimulatedCard ParseCardFile(std::string_view text, const std::string& folder,
                            std::string* warnings = nullptr);

} // namespace zir::reader::simulator
