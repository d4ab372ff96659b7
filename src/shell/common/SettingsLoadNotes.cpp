#include "shell/common/SettingsLoadNotes.h"

#include "config/ConfigHelper.h"
#include "core/ServiceLog.h"

#include <vector>

namespace zir::shell {

namespace {

// A file of junk must not make one endless line.
constexpr size_t kNamedKeys = 10;
constexpr size_t kKeyLength = 64;

} // namespace

std::optional<std::string> UnknownKeysWarning() {
    const std::vector<std::string> keys = config::TConfigHelper::LastUnknownKeys();
    if (keys.empty())
        return std::nullopt;
    std::string text = "ignored lines of the settings file, no key of WebPort, WebType, "
                       "WebCache, WebSound, WebOrigins:";
    for (size_t i = 0; i < keys.size() && i < kNamedKeys; ++i)
        text += (i == 0 ? " '" : ", '") + keys[i].substr(0, kKeyLength) + "'";
    if (keys.size() > kNamedKeys)
        text += " and " + std::to_string(keys.size() - kNamedKeys) + " more";
    return text;
}

void LogSettingsLoadNotes() {
    std::vector<std::string> notes;
    if (auto warning = UnknownKeysWarning())
        notes.push_back(*warning);
    if (config::TConfigHelper::LastLoad() == config::TConfigHelper::TLoadResult::Unreadable)
        notes.push_back("[" + config::TConfigHelper::ConfigFilePath() +
                        "] could not be read; every web page is refused until it is");
    for (const std::string& note : notes)
        core::LogServiceLine("==SETTINGS WARNING --> " + note);
}

} // namespace zir::shell
