#pragma once

#include "http/TIdHTTPResponseInfo.h"

namespace zir::core {

// The cross-origin lines every answer carries, card answers and event streams alike.
void AddAccessControlHeaders(http::TIdHTTPResponseInfo& response);

} // namespace zir::core
