// The simulated photo decoder (libDLL_File.so / DLL_File.DLL): unpack writes "zp.bmp".
#include "platform/CallingConvention.h"
#include "reader/simulator/core/SimulatedDecoder.h"

#include <cstdint>

ZIR_EXPORT int32_t ZIR_STDCALL unpack(unsigned char* raw, unsigned char* bitmap38556, int32_t one) {
    return zir::reader::simulator::TheSimulatedDecoder().Unpack(raw, bitmap38556, one);
}
