// zir settings [KEY=VALUE...]: prints the settings, or runs the settings dialog's save with
// the given values in place of the dialog's boxes. It runs beside the service, so it never
// calls the reader: the running service switches the beep when it reloads.

#include "shell/common/Commands.h"

#include "config/ConfigHelper.h"
#include "platform/RunningInstance.h"
#include "platform/Text.h"
#include "shell/common/ProgramNames.h"
#include "shell/common/SettingsLoad.h"
#include "shell/common/SettingsLoadNotes.h"
#include "shell/common/SettingsSave.h"

#include <optional>
#include <string>
#include <string_view>

namespace zir::shell {

namespace {

int UsageError(const TCommandOutput& output, const std::string& text) {
    output.Err("zir settings: " + text + "\n");
    return 2;
}

// A check box takes 0 or 1 and nothing else, so a typing mistake is not read as "off".
bool ParseTick(std::string_view value, bool& tick) {
    if (value != "0" && value != "1")
        return false;
    tick = value == "1";
    return true;
}

} // namespace

int RunSettingsCommand(const CommandLine& line, const TCommandOutput& output) {
    LoadSettings();
    auto warn = [&output](const std::optional<std::string>& warning) {
        if (warning)
            output.Err("zir settings: warning: " + *warning + "\n");
    };
    warn(UnknownKeysWarning());

    if (line.Arguments.empty()) {
        const config::TConfigRec rec = config::TConfigHelper::GetConfig();
        output.Out("WebPort=" + std::to_string(rec.WebPort) + "\nWebType=" +
                   std::to_string(rec.WebType) + "\nWebCache=" + std::to_string(rec.WebCache) +
                   "\nWebSound=" + std::to_string(rec.WebSound) + "\n");
        const std::string origins = config::TConfigHelper::GetWebOrigins();
        if (!origins.empty())
            output.Out("WebOrigins=" + origins + "\n");
        warn(NullOriginWarning());
        return 0;
    }

    // A save writes all the settings: after a load that missed some of them (an unreadable
    // file, a bad number and the keys after it) it would replace what the user had by what the
    // load left. A bad WebOrigins list alone is no such loss: it is what a save may mend.
    const auto load = config::TConfigHelper::LastLoad();
    if (load == config::TConfigHelper::TLoadResult::Unreadable ||
        load == config::TConfigHelper::TLoadResult::BadValue) {
        output.Err("zir settings: " + config::TConfigHelper::ConfigFilePath() +
                   (load == config::TConfigHelper::TLoadResult::Unreadable
                        ? " could not be read"
                        : " holds a value that is not a number") +
                   ", so it is not changed; mend the file first\n");
        return 1;
    }

    // The dialog as it opens; each KEY=VALUE replaces what one of its boxes would show.
    TSettingsForm form = SettingsFormValues();
    for (const std::string& argument : line.Arguments) {
        const size_t eq = argument.find('=');
        if (eq == std::string::npos)
            return UsageError(output, "expected KEY=VALUE, got \"" + argument + "\"");
        const std::string_view key = std::string_view(argument).substr(0, eq);
        const std::string value = argument.substr(eq + 1);
        if (platform::EqualsIgnoringAsciiCase(key, "WebPort")) {
            form.PortText = value;
        } else if (platform::EqualsIgnoringAsciiCase(key, "WebType")) {
            form.TypeText = value;
        } else if (platform::EqualsIgnoringAsciiCase(key, "WebCache")) {
            if (!ParseTick(value, form.Cache))
                return UsageError(output, "WebCache is a check box: 0 or 1, got \"" + value + "\"");
        } else if (platform::EqualsIgnoringAsciiCase(key, "WebSound")) {
            if (!ParseTick(value, form.Sound))
                return UsageError(output, "WebSound is a check box: 0 or 1, got \"" + value + "\"");
        } else if (platform::EqualsIgnoringAsciiCase(key, "WebOrigins")) {
            form.OriginsText = value;
        } else {
            return UsageError(output, "unknown setting \"" + std::string(key) +
                                          "\" (WebPort, WebType, WebCache, WebSound, WebOrigins)");
        }
    }

    const TSettingsSaveResult result = SaveSettings(form);
    if (!result.Valid) {
        output.Err(result.Message + "\n");
        return 2;
    }
    // About the list now in effect: the one given, else the file's.
    warn(NullOriginWarning());
    if (!result.SaveError.empty()) {
        output.Err("zir settings: " + result.SaveError + "\n");
        return 1;
    }
    if (result.Saved) {
        output.Out(result.Message + "\n");
        platform::NotifyRunningInstance(config::TConfigHelper::ConfigFilePath(), kRunningInstance);
    }
    return 0;
}

} // namespace zir::shell
