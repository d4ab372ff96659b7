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

// A UTF-8 path as the file system's path type (UTF-16 on Windows).
std::filesystem::path PathFromUtf8(const std::string& utf8);

} // namespace zir::platform
