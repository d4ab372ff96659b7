// Placeholder until the settings file lands: defaults only.
#include "config/ConfigHelper.h"

#include "platform/Paths.h"

#include <mutex>

namespace zir::config {

namespace {
TConfigRec record;
std::mutex pathMutex;
std::string overridePath;
} // namespace

TConfigRec TConfigHelper::GetConfig() { return record; }
void TConfigHelper::SetWebPort(int32_t value) { record.WebPort = value; }
void TConfigHelper::SetWebType(int32_t value) { record.WebType = value; }
void TConfigHelper::SetWebCache(int32_t value) { record.WebCache = value; }
void TConfigHelper::SetWebSound(int32_t value) { record.WebSound = value; }
void TConfigHelper::LoadConfig() { record = TConfigRec{80, 0, 1, 1}; }
void TConfigHelper::SaveConfig() {}

std::string TConfigHelper::ConfigFilePath() {
    std::lock_guard lock(pathMutex);
    return overridePath.empty() ? platform::ExecutablePath() + ".INI" : overridePath;
}

void TConfigHelper::SetConfigFilePath(std::string path) {
    std::lock_guard lock(pathMutex);
    overridePath = std::move(path);
}

} // namespace zir::config
