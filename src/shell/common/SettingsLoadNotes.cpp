#include "shell/common/SettingsLoadNotes.h"

#include "config/ConfigHelper.h"
#include "core/ServiceLog.h"

#include <algorithm>
#include <utility>

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
    for (size_t i = 0; i < keys.size() && i < kNamedKeys; ++i) {
        text.append(i == 0 ? " '" : ", '");
        text.append(keys[i], 0, kKeyLength);
        text.push_back('\'');
    }
    if (keys.size() > kNamedKeys)
        text += " and " + std::to_string(keys.size() - kNamedKeys) + " more";
    return text;
}

std::optional<std::string> NullOriginWarning() {
    const auto rules = config::TConfigHelper::WebOriginRules();
    if (std::find(rules->Origins.begin(), rules->Origins.end(), "null") == rules->Origins.end())
        return std::nullopt;
    // A page of any site can frame itself sandboxed, and such a frame sends "Origin: null".
    return "WebOrigins: null admits pages opened from a file and also the sandboxed frames of "
           "every web site, which makes it as open as *";
}

std::vector<std::string> SettingsWarnings() {
    std::vector<std::string> warnings;
    for (const auto& warning : {UnknownKeysWarning(), NullOriginWarning()})
        if (warning)
            warnings.push_back(*warning);
    return warnings;
}

void LogSettingsLoadNotes() {
    std::vector<std::string> notes = SettingsWarnings();
    if (config::TConfigHelper::LastLoad() == config::TConfigHelper::TLoadResult::Unreadable) {
        std::string note = "[";
        note.append(config::TConfigHelper::ConfigFilePath());
        note.append("] could not be read; every web page is refused until it is");
        notes.push_back(std::move(note));
    }
    for (const std::string& note : notes)
        core::LogServiceLine(std::string("==SETTINGS WARNING --> ").append(note));
}

} // namespace zir::shell
