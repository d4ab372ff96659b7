#pragma once

#include <string>

namespace zir::platform {

// A library's file name by the system's custom: "NAME.DLL" on Windows, "libNAME.so" elsewhere.
std::string DynamicLibraryFileName(const std::string& name);

// A shared library loaded for the rest of the process's life (it is never unloaded: functions
// bound from it may be called until the end).
class DynamicLibrary {
  public:
    // Loads the library at path. On failure the result is not loaded and error holds the
    // system's reason.
    static DynamicLibrary Load(const std::string& path, std::string& error);

    bool IsLoaded() const { return handle_ != nullptr; }

    // The exported symbol by its exact name, or null.
    void* Symbol(const char* name) const;

  private:
    void* handle_ = nullptr;
};

} // namespace zir::platform
