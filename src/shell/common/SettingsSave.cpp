#include "shell/common/SettingsSave.h"

#include "config/ConfigHelper.h"
#include "platform/Text.h"

#include <exception>
#include <string_view>
#include <utility>

namespace zir::shell {

namespace {

TSettingsSaveResult Refuse(std::string message, TSettingsFocus focus) {
    TSettingsSaveResult result;
    result.Message = std::move(message);
    result.Focus = focus;
    return result;
}

} // namespace

TSettingsForm SettingsFormValues() {
    const config::TConfigRec rec = config::TConfigHelper::GetConfig();
    TSettingsForm form;
    form.PortText = std::to_string(rec.WebPort);
    form.TypeText = std::to_string(rec.WebType);
    form.Cache = rec.WebCache != 0;
    form.Sound = rec.WebSound != 0;
    return form;
}

TSettingsSaveResult SaveSettings(const TSettingsForm& form) {
    const std::string_view portText = platform::TrimBlanksAndControls(form.PortText);
    if (portText.empty())
        return Refuse(kPortEmptyMessage, TSettingsFocus::Port);
    int32_t port = 0;
    if (!config::TryParseConfigInteger(portText, port) || port < 0 || port > 65535)
        return Refuse(kPortInvalidMessage, TSettingsFocus::Port);

    const std::string_view typeText = platform::TrimBlanksAndControls(form.TypeText);
    if (typeText.empty())
        return Refuse(kTypeEmptyMessage, TSettingsFocus::Type);
    int32_t type = 0;
    if (!config::TryParseConfigInteger(typeText, type))
        return Refuse(kTypeInvalidMessage, TSettingsFocus::Type);

    const std::string currentOrigins = config::TConfigHelper::GetWebOrigins();
    std::string origins = currentOrigins;
    if (form.OriginsText) {
        const config::TWebOrigins rules = config::ParseWebOrigins(*form.OriginsText);
        if (!rules.Error.empty())
            return Refuse(rules.Error, TSettingsFocus::None);
        origins = rules.Text;
    }

    const int32_t cache = form.Cache ? 1 : 0;
    const int32_t sound = form.Sound ? 1 : 0;

    TSettingsSaveResult result;
    result.Valid = true;
    const config::TConfigRec current = config::TConfigHelper::GetConfig();
    if (current.WebPort == port && current.WebType == type && current.WebCache == cache &&
        current.WebSound == sound && currentOrigins == origins)
        return result;

    config::TConfigHelper::SetWebPort(port);
    config::TConfigHelper::SetWebType(type);
    config::TConfigHelper::SetWebCache(cache);
    config::TConfigHelper::SetWebSound(sound);
    config::TConfigHelper::SetWebOrigins(origins);
    result.Changed = true;
    try {
        config::TConfigHelper::SaveConfig();
    } catch (const std::exception& error) {
        // The new values stay in memory; only the notice is withheld.
        result.SaveError = error.what();
        return result;
    }
    result.Saved = true;
    result.Message = kSettingsChangedMessage;
    return result;
}

} // namespace zir::shell
