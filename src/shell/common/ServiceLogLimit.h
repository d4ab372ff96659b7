#pragma once

// The service log keeps its last 5,000 lines. A page that polls twice a second adds some
// 350,000 lines a day; a log that only grows makes every append slower than the request it
// reports and its memory unbounded. The window cuts its oldest lines itself, at a line start
// that its edit control reports.

#include <cstddef>

namespace zir::shell {

inline constexpr std::size_t kServiceLogLines = 5000;

} // namespace zir::shell
