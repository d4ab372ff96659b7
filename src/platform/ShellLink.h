#pragma once

// Windows shell links (".lnk" files) and the current user's Startup folder: Windows only, in
// win32/ShellLink.cpp. Other systems have neither and do not build it.

#include <string>

namespace zir::platform {

// Everything UTF-8; stored as UTF-16 in the link.
struct ShellLinkFields {
    std::string Target;
    std::string Arguments;
    std::string WorkingFolder;
    std::string Description;
};

// The current user's Startup folder (CSIDL_STARTUP), created when missing; empty when the shell
// cannot say.
std::string StartupFolder();

// Writes a shell link file at linkPath, with OLE initialised for the call. Throws
// std::runtime_error with the system's text when the link object cannot be made or the file
// cannot be written, and "Interface not supported" when the object lacks an interface.
void WriteShellLink(const std::string& linkPath, const ShellLinkFields& fields);

} // namespace zir::platform
