#pragma once

#include <filesystem>
#include <string>

namespace zir::platform {

// Full path of the running executable, as the system reports it.
std::string ExecutablePath();

// Folder of the running executable, without a trailing separator.
std::string ExecutableDirectory();

// The process's current directory, as the system reports it, without a trailing separator.
std::string CurrentDirectory();

// The separator the system uses between folder names ('\' on Windows, '/' elsewhere).
char PathSeparator();

// Every character that ends a folder name in a path: "\\/" on Windows, "/" elsewhere.
const char* PathSeparators();

// The program's path with extension in place of its own (zir.exe -> zir.INI). A Linux program
// has no extension by custom, so there the path is simply followed by extension.
std::string ProgramPathWithExtension(const std::string& programPath, const std::string& extension);

// A UTF-8 path as the file system's path type (UTF-16 on Windows).
std::filesystem::path PathFromUtf8(const std::string& utf8);

} // namespace zir::platform
