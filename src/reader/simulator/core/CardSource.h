#pragma once

#include "platform/FileStamp.h"
#include "reader/simulator/core/SimulatedCard.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

namespace zir::reader::simulator {

// Where the simulated reader's card comes from: the card file named by ZIR_SIMULATOR_CARD, read
// again whenever its size or modification time changes, or the demo card when the variable is
// not set. Thread-safe.
class CardSource {
  public:
    // The card on the reader now; null when there is none (the card file does not exist).
    std::shared_ptr<const SimulatedCard> Current();

  private:
    std::mutex mutex_;
    std::string path_;
    platform::FileStamp stamp_;
    std::shared_ptr<const SimulatedCard> card_;
    std::shared_ptr<const SimulatedCard> demo_;
};

// Card files beyond this size are not read: no card file is that long.
inline constexpr std::uintmax_t kMaxCardFileBytes = 1 << 20;

// Writes one whole warning line to stderr, so lines from several threads never mix.
void WarnLine(const std::string& text);

} // namespace zir::reader::simulator
