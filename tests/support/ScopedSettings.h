#pragma once

// The process-wide settings for the life of one test: the four values, WebOrigins and the
// settings file as the test sets them, and as they were before once it ends (the file: the
// program's default one again).

#include "config/ConfigHelper.h"

#include <string>
#include <string_view>

namespace zir::test {

class ScopedSettings {
  public:
    // Every value 0, no WebOrigins, the default settings file.
    ScopedSettings();
    explicit ScopedSettings(const config::TConfigRec& rec, std::string_view origins = {});
    ~ScopedSettings();
    ScopedSettings(const ScopedSettings&) = delete;
    ScopedSettings& operator=(const ScopedSettings&) = delete;

    static void Set(const config::TConfigRec& rec, std::string_view origins = {});
    // The settings file the program loads and saves from now on.
    static void UseFile(const std::string& path);

  private:
    config::TConfigRec savedRec_;
    std::string savedOrigins_;
};

} // namespace zir::test
