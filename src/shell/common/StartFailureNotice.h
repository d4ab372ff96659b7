#pragma once

// What the tray program says when the service could not start: its window is hidden at launch,
// so the log line alone would go unseen and the icon would look as if all were well.

#include "core/CardService.h"

#include <string>

namespace zir::shell {

// The tray tip while the service is stopped by a failed start.
inline constexpr const char* kStoppedTrayTip = "zir服务：服务已停止";
// The balloon's title.
inline constexpr const char* kStartFailedTitle = "zir服务启动失败";

// The balloon's text: a port held by another program names the way out ("设置"); any other
// failure gives its reason.
std::string StartFailureNotice(const core::TStartFailure& failure);

} // namespace zir::shell
