#pragma once

// Log-on autostart on Linux desktops: the XDG autostart entry "starttarvo.desktop", the
// counterpart of the Windows Startup shortcut "starttarvo.lnk".

#include <string>
#include <vector>

namespace zir::console {

// $XDG_CONFIG_HOME/autostart/starttarvo.desktop, or ~/.config/autostart/starttarvo.desktop.
std::string AutostartEntryPath();

// The entry's text: runs `program` with `arguments`, each quoted as the XDG Exec key requires.
std::string AutostartEntryText(const std::string& program,
                               const std::vector<std::string>& arguments);

// Writes the entry (creating its folders); throws std::runtime_error with the reason on failure.
void WriteAutostartEntry(const std::string& path, const std::string& text);

} // namespace zir::console
