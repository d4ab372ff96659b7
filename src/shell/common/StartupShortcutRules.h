#pragma once

// The window-free rules of the Windows Startup shortcut: where it lies, the ".LNK" check, the
// working folder, and the argument text. The shortcut itself is written by
// win32/StartupShortcut.cpp through platform/ShellLink.

#include "shell/common/Autostart.h"

#include <string>
#include <vector>

namespace zir::shell {

inline constexpr const char* kShortcutFileName = "starttarvo.lnk";
inline constexpr const char* kShortcutExtensionError = "自启动文件扩展名不正确";

// The Startup folder, "\" and the file name; a folder the shell could not give leaves
// "\" and the name.
std::string StartupFilePath(const std::string& startupFolder, const std::string& fileName);

// Whether the extension (from the last dot after the last separator), in upper case, is ".LNK".
bool HasLinkExtension(const std::string& path);

// The folder part of the target with a trailing backslash ("C:\zir\zir.exe" -> "C:\zir\").
std::string ShortcutWorkingFolder(const std::string& target);

// The shortcut's argument text: empty for the program with its default settings file and
// reader folder, as the shortcut has always been; otherwise the options it was started with, so
// that log-on starts the same service.
std::string ShortcutArguments(const TAutostartProgram& program);

// Words joined into one command line that CommandLineToArgvW splits back into the same words.
std::string WindowsCommandLine(const std::vector<std::string>& words);

} // namespace zir::shell
