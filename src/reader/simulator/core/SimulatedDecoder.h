#pragma once

#include "reader/simulator/core/CallGuard.h"

#include <cstdint>

namespace zir::reader::simulator {

// The simulated DLL_File library: unpack turns our raw photo into the bitmap file "zp.bmp" in
// the current directory, as the vendor's decoder does.
class SimulatedDecoder {
  public:
    int32_t Unpack(const unsigned char* raw, unsigned char* bitmap38556, int32_t one);

    const CallGuard& Guard() const { return guard_; }

  private:
    CallGuard guard_;
};

// Results of unpack besides 1 and the card file's UnpackResult.
inline constexpr int32_t kUnpackNotARawPhoto = -2;
inline constexpr int32_t kUnpackPhotoUnreadable = -3;
inline constexpr int32_t kUnpackCannotWrite = -4;

SimulatedDecoder& TheSimulatedDecoder();

} // namespace zir::reader::simulator
