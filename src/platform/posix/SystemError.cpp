#include "platform/SystemErrorNative.h"

#include <cstring>

namespace zir::platform {

std::string SystemMessage(unsigned long code) {
    return std::strerror(static_cast<int>(code));
}

} // namespace zir::platform
