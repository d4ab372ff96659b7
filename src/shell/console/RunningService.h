#pragma once

namespace zir::console {

// Tells a zir service already running with the same settings file that the file has changed,
// so that it applies the new settings as the settings dialog's save would.
void NotifyRunningService();

} // namespace zir::console
