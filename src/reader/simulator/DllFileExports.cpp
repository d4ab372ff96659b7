// The simulated photo decoder (libDLL_File.so / DLL_File.DLL): unpack writes "zp.bmp".
#include "platform/CallingConvention.h"
#include "reader/ReaderApi.h"
#include "reader/simulator/core/SimulatedDecoder.h"

#include <cstdint>
#include <type_traits>

ZIR_EXPORT int32_t ZIR_STDCALL unpack(unsigned char* raw, unsigned char* bitmap38556, int32_t one) {
    return zir::reader::simulator::TheSimulatedDecoder().Unpack(raw, bitmap38556, one);
}

// The export has exactly the type the loader binds it as.
static_assert(std::is_same_v<decltype(&unpack), zir::reader::unpack_t>);
