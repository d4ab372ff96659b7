#pragma once

// The settings file loaded for the program, as every command and the service load it.

namespace zir::shell {

// Loads the settings file; a value that stops the load is shown to the user with the load's
// message. True when every value was read.
bool LoadSettings();

} // namespace zir::shell
