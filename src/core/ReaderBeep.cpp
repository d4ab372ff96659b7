#include "core/ReaderBeep.h"

#include "reader/ReaderApi.h"

namespace zir::core {

void SwitchReaderBeep(const CardOperationGuard&, int32_t on) {
    if (auto beep = reader::CurrentReaderApi().readCardBeep)
        beep(on);
}

} // namespace zir::core
