#pragma once

// The full read with the decode cache in front.

#include "core/CardLock.h"
#include "core/CardOperations.h"
#include "core/TIdCardRec.h"

namespace zir::core {

// The full read with the decode cache in front (only when the request's WebCache is 1,
// cacheOn), whichever card operations make the reads; the lock is held for the whole call.
bool ReadIdCardCached(TCardOperations& cards, const CardOperationGuard& held, TIdCardRec& rec,
                      bool cacheOn);

} // namespace zir::core
