#include "reader/simulator/core/SimulatedReader.h"

#include "reader/simulator/core/RawPhoto.h"

#include <algorithm>
#include <cstring>

namespace zir::reader::simulator {

namespace {
// What a reader answers when nothing lies on it.
constexpr int32_t kNoCardSelect = 128;
constexpr int32_t kNoCardUid = 0;
constexpr int32_t kSuccess = 144;
constexpr std::size_t kFieldBytes = 256;
} // namespace

SimulatedReader& TheSimulatedReader() {
    static SimulatedReader reader;
    return reader;
}

std::shared_ptr<const SimulatedCard> SimulatedReader::Selected() {
    std::lock_guard lock(mutex_);
    return selected_;
}

int32_t SimulatedReader::GetSamIdToStr(char* /*samId: the buffer size is unknown here*/) {
    CallGuard::Entry entry(guard_, "SDT_GetSAMIDToStr");
    if (!entry.Admitted())
        return kOverlapResult;
    auto card = source_.Current();
    // The security module sits in the reader: it answers with or without a card.
    if (!card)
        return kSuccess;
    ImitateReaderDelay(card->DelayMs);
    return card->SamResult;
}

int32_t SimulatedReader::SelectIdCard(unsigned char* buffer8) {
    CallGuard::Entry entry(guard_, "SDT_SelectIDCard");
    if (!entry.Admitted())
        return kOverlapResult;
    auto card = source_.Current();
    if (card)
        ImitateReaderDelay(card->DelayMs);
    int32_t result = card ? card->SelectResult : kNoCardSelect;
    {
        std::lock_guard lock(mutex_);
        selected_ = result == kSuccess ? card : nullptr;
    }
    if (result == kSuccess && buffer8)
        std::memset(buffer8, 0, 8);
    return result;
}

int32_t SimulatedReader::GetNewCardType() {
    CallGuard::Entry entry(guard_, "GetNewCardType");
    if (!entry.Admitted())
        return kOverlapResult;
    auto card = Selected();
    if (!card)
        return 0;
    ImitateReaderDelay(card->DelayMs);
    return card->CardType;
}

int32_t SimulatedReader::GetNewPhotoRaw(unsigned char* raw1025, int32_t* length) {
    CallGuard::Entry entry(guard_, "GetNewPhotoRaw");
    if (!entry.Admitted())
        return kOverlapResult;
    auto card = Selected();
    if (!card)
        return 0;
    ImitateReaderDelay(card->DelayMs);
    if (card->PhotoRawResult != 1)
        return card->PhotoRawResult;
    if (!raw1025)
        return 0;
    std::size_t used = WriteRawPhoto({card->UnpackResult, card->DelayMs, card->Photo}, raw1025);
    if (used == 0) {
        WarnLine("Photo path too long for the raw photo buffer: " + card->Photo);
        return 0;
    }
    if (length)
        *length = static_cast<int32_t>(used);
    return 1;
}

int32_t SimulatedReader::GetNewField(CardField field, char* buffer256, const char* function) {
    CallGuard::Entry entry(guard_, function);
    if (!entry.Admitted())
        return kOverlapResult;
    auto card = Selected();
    if (!card || !buffer256)
        return 0;
    ImitateReaderDelay(card->DelayMs);
    const std::string& bytes = card->Field(field);
    std::memcpy(buffer256, bytes.data(), std::min(bytes.size(), kFieldBytes));
    return 1;
}

int32_t SimulatedReader::ReadCardGetUid(char* buffer) {
    CallGuard::Entry entry(guard_, "readCardGetUID");
    if (!entry.Admitted())
        return kOverlapResult;
    auto card = source_.Current();
    {
        std::lock_guard lock(mutex_);
        uidCard_ = card && card->UidResult == 1 ? card : nullptr;
    }
    if (!card)
        return kNoCardUid;
    ImitateReaderDelay(card->DelayMs);
    if (card->UidResult != 1)
        return card->UidResult;
    // The UID fits the smaller (32-byte) of the two buffers callers pass.
    if (buffer)
        std::memcpy(buffer, card->Uid.data(), card->Uid.size());
    return 1;
}

int32_t SimulatedReader::ReadCardGetCardType() {
    CallGuard::Entry entry(guard_, "readCardGetCardType");
    if (!entry.Admitted())
        return kOverlapResult;
    // Like a reader, the kind belongs to the card whose UID was read last, even if the holder
    // has taken it away since; before any UID read, to the card lying there.
    // The call takes as long as the card file says now. A UID read that took no time looked at
    // the file a moment ago, which is now as far as a caller can tell: its look is used again
    // rather than the file looked at a second time for every UID request.
    std::shared_ptr<const SimulatedCard> card;
    {
        std::lock_guard lock(mutex_);
        card = uidCard_;
    }
    const auto lying = card && card->DelayMs == 0 ? card : source_.Current();
    if (!card)
        card = lying;
    if (!card)
        return 0;
    ImitateReaderDelay(lying ? lying->DelayMs : card->DelayMs);
    return card->UidCardType;
}

int32_t SimulatedReader::ReadCardBeep(int32_t on) {
    CallGuard::Entry entry(guard_, "readCardBeep");
    if (!entry.Admitted())
        return kOverlapResult;
    // Only remembered: the simulator never makes a sound.
    std::lock_guard lock(mutex_);
    beep_ = on;
    return 1;
}

int32_t SimulatedReader::BeepState() const {
    std::lock_guard lock(mutex_);
    return beep_;
}

} // namespace zir::reader::simulator
