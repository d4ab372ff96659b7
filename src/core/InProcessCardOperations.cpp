#include "core/InProcessCardOperations.h"

#include "core/ICH.h"

namespace zir::core {

bool InProcessCardOperations::ReadUid(const CardOperationGuard&, TIdCardRec& rec) {
    return ReadCardUid(api_, rec);
}

bool InProcessCardOperations::ReadFull(const CardOperationGuard&, TIdCardRec& rec) {
    return ReadIdCard(api_, rec);
}

void InProcessCardOperations::Beep(const CardOperationGuard&, int32_t on) {
    if (api_.readCardBeep)
        api_.readCardBeep(on);
}

} // namespace zir::core
