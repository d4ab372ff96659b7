#include "shell/common/StartFailureNotice.h"

namespace zir::shell {

std::string StartFailureNotice(const core::TStartFailure& failure) {
    if (failure.PortTaken)
        return failure.Address + " 已被其他程序占用，请在“设置”中选择其他端口，再启动服务。";
    return failure.Address + " 无法启动服务：" + failure.Reason;
}

} // namespace zir::shell
