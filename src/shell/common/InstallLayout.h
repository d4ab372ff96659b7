#pragma once

// Where an installed program keeps what the build tree keeps beside it. A program in PREFIX/bin
// with the folder PREFIX/lib/zir beside (the Linux package) cannot write its own folder: its
// settings file is the user's (~/.config/zir/zir.INI) and the simulated reader lies in
// PREFIX/lib/zir/simulator. Anywhere else (the build tree, the Windows zip and installer) both
// stay beside the program.

#include <optional>
#include <string>

namespace zir::shell {

// The user's settings folder: $XDG_CONFIG_HOME when it is an absolute path, else ~/.config.
std::string UserConfigFolder();

// PREFIX/lib/zir for a program folder PREFIX/bin when that folder exists; nothing otherwise.
std::optional<std::string> PackageLibraryFolder(const std::string& programFolder);

// The settings file when no --config is given: nothing means the program's path + ".INI".
std::optional<std::string> PackageSettingsFile(const std::string& programFolder);

// The simulated reader's folder for the program in programFolder.
std::string SimulatorFolder(const std::string& programFolder);

} // namespace zir::shell
