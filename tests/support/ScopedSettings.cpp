#include "ScopedSettings.h"

namespace zir::test {

using config::TConfigHelper;

ScopedSettings::ScopedSettings() : ScopedSettings(config::TConfigRec{}) {}

ScopedSettings::ScopedSettings(const config::TConfigRec& rec, std::string_view origins)
    : savedRec_(TConfigHelper::GetConfig()), savedOrigins_(TConfigHelper::GetWebOrigins()) {
    Set(rec, origins);
}

ScopedSettings::~ScopedSettings() {
    Set(savedRec_, savedOrigins_);
    TConfigHelper::SetConfigFilePath("");
}

void ScopedSettings::Set(const config::TConfigRec& rec, std::string_view origins) {
    TConfigHelper::SetWebPort(rec.WebPort);
    TConfigHelper::SetWebType(rec.WebType);
    TConfigHelper::SetWebCache(rec.WebCache);
    TConfigHelper::SetWebSound(rec.WebSound);
    TConfigHelper::SetWebOrigins(origins);
}

void ScopedSettings::UseFile(const std::string& path) {
    TConfigHelper::SetConfigFilePath(path);
}

} // namespace zir::test
