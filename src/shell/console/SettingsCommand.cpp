// zir settings [KEY=VALUE...]: prints the four settings, or runs the settings dialog's save with
// the given values in place of the dialog's boxes.

#include "shell/console/Commands.h"

#include "config/ConfigHelper.h"
#include "platform/Text.h"
#include "shell/common/SettingsSave.h"
#include "shell/console/RunningService.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace zir::console {

namespace {

int UsageError(const std::string& text) {
    std::fprintf(stderr, "zir settings: %s\n", text.c_str());
    std::fflush(stderr);
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

int RunSettings(const shell::CommandLine& line) {
    config::TConfigHelper::LoadConfig();

    if (line.Arguments.empty()) {
        const config::TConfigRec rec = config::TConfigHelper::GetConfig();
        std::printf("WebPort=%d\nWebType=%d\nWebCache=%d\nWebSound=%d\n", rec.WebPort, rec.WebType,
                    rec.WebCache, rec.WebSound);
        std::fflush(stdout);
        return 0;
    }

    // The dialog as it opens; each KEY=VALUE replaces what one of its boxes would show.
    shell::TSettingsForm form = shell::SettingsFormValues();
    for (const std::string& argument : line.Arguments) {
        const size_t eq = argument.find('=');
        if (eq == std::string::npos)
            return UsageError("expected KEY=VALUE, got \"" + argument + "\"");
        const std::string_view key = std::string_view(argument).substr(0, eq);
        const std::string value = argument.substr(eq + 1);
        if (platform::EqualsIgnoringAsciiCase(key, "WebPort")) {
            form.PortText = value;
        } else if (platform::EqualsIgnoringAsciiCase(key, "WebType")) {
            form.TypeText = value;
        } else if (platform::EqualsIgnoringAsciiCase(key, "WebCache")) {
            if (!ParseTick(value, form.Cache))
                return UsageError("WebCache is a check box: 0 or 1, got \"" + value + "\"");
        } else if (platform::EqualsIgnoringAsciiCase(key, "WebSound")) {
            if (!ParseTick(value, form.Sound))
                return UsageError("WebSound is a check box: 0 or 1, got \"" + value + "\"");
        } else {
            return UsageError("unknown setting \"" + std::string(key) +
                              "\" (WebPort, WebType, WebCache, WebSound)");
        }
    }

    const shell::TSettingsSaveResult result = shell::SaveSettings(form);
    if (!result.Valid) {
        std::fprintf(stderr, "%s\n", result.Message.c_str());
        std::fflush(stderr);
        return 2;
    }
    if (!result.SaveError.empty()) {
        std::fprintf(stderr, "zir settings: %s\n", result.SaveError.c_str());
        std::fflush(stderr);
        return 1;
    }
    if (result.Saved) {
        std::printf("%s\n", result.Message.c_str());
        std::fflush(stdout);
        NotifyRunningService();
    }
    return 0;
}

} // namespace zir::console
