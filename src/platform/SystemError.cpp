#include "platform/SystemError.h"

#include "platform/SystemErrorNative.h"

namespace zir::platform {

std::string SystemErrorText(unsigned long code) {
    std::string result = SystemMessage(code);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' ||
                               result.back() == ' ' || result.back() == '.'))
        result.pop_back();
    return result.empty() ? "error " + std::to_string(code) : result;
}

std::string ErrorCodeText(const std::error_code& error) {
    if (error.category() == std::system_category())
        return SystemErrorText(static_cast<unsigned long>(error.value()));
    return error.message();
}

} // namespace zir::platform
