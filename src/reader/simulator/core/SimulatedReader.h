#pragma once

#include "reader/simulator/core/CallGuard.h"
#include "reader/simulator/core/CardSource.h"
#include "reader/simulator/core/SimulatedCard.h"

#include <cstdint>
#include <memory>
#include <mutex>

namespace zir::reader::simulator {

// The simulated SDTAPI library: one reader with the card of the card file on it. The exported
// functions of libSDTAPI / SDTAPI.DLL forward here one to one. Thread-safe; overlapping calls
// fail (see CallGuard).
class SimulatedReader {
  public:
    int32_t GetSamIdToStr(char* samId);
    int32_t SelectIdCard(unsigned char* buffer8);
    int32_t GetNewCardType();
    int32_t GetNewPhotoRaw(unsigned char* raw1025, int32_t* length);
    int32_t GetNewField(CardField field, char* buffer256, const char* function);
    int32_t ReadCardGetUid(char* buffer);
    int32_t ReadCardGetCardType();
    int32_t ReadCardBeep(int32_t on);

    // What the last readCardBeep call set (1 after start-up, as a reader's beeper is on).
    int32_t BeepState() const;
    const CallGuard& Guard() const { return guard_; }

  private:
    std::shared_ptr<const SimulatedCard> Selected();

    CallGuard guard_;
    CardSource source_;
    mutable std::mutex mutex_;
    std::shared_ptr<const SimulatedCard> selected_;
    std::shared_ptr<const SimulatedCard> uidCard_; // found by the last successful UID read
    int32_t beep_ = 1;
};

// The one reader of this library.
SimulatedReader& TheSimulatedReader();

} // namespace zir::reader::simulator
