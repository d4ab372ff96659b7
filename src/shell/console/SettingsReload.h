#pragma once

#include "core/CardService.h"

namespace zir::console {

// SIGHUP: the settings file is read again and applied as the settings dialog's save would
// apply it: WebType and WebCache from the next request, the beep at once, and a changed port
// by stopping and starting the service. A file that cannot be loaded changes nothing.
// False when the service had to stop for a new port and could not start again.
bool ReloadSettings(core::CardService& service);

// Stops as the user would press the stop button again and again: a handler that is still busy
// makes one stop fail, and the next one succeeds once it has returned.
void StopUntilStopped(core::CardService& service);

} // namespace zir::console
