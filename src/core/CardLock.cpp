#include "core/CardLock.h"

namespace zir::core {

std::mutex& CardOperationMutex() {
    static std::mutex mutex;
    return mutex;
}

} // namespace zir::core
