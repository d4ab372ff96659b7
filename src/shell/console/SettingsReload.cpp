#include "shell/console/SettingsReload.h"

#include "config/ConfigHelper.h"
#include "platform/UserMessage.h"
#include "reader/ReaderApi.h"

#include <cstdio>

namespace zir::console {

namespace {

void Apply(const config::TConfigRec& settings) {
    config::TConfigHelper::SetWebPort(settings.WebPort);
    config::TConfigHelper::SetWebType(settings.WebType);
    config::TConfigHelper::SetWebCache(settings.WebCache);
    config::TConfigHelper::SetWebSound(settings.WebSound);
}

} // namespace

bool ReloadSettings(core::CardService& service) {
    const config::TConfigRec before = config::TConfigHelper::GetConfig();

    // A load that fails says so through the message seam; notice it to undo the partial load.
    bool failed = false;
    platform::SetUserMessageHandler([&failed](const std::string& text) {
        failed = true;
        std::fprintf(stderr, "%s\n", text.c_str());
        std::fflush(stderr);
    });
    config::TConfigHelper::LoadConfig();
    platform::SetUserMessageHandler([](const std::string& text) {
        std::fprintf(stderr, "%s\n", text.c_str());
        std::fflush(stderr);
    });
    if (failed) {
        Apply(before);
        std::fprintf(stderr, "zir: settings unchanged\n");
        std::fflush(stderr);
        return true;
    }

    const config::TConfigRec after = config::TConfigHelper::GetConfig();
    if (after.WebSound != before.WebSound) {
        if (auto beep = reader::CurrentReaderApi().readCardBeep)
            beep(after.WebSound == 1 ? 1 : 0);
    }
    // A new port takes a stop and a start, as the user would press the two buttons.
    if (after.WebPort != before.WebPort && service.Running()) {
        while (!service.btnStopServerClick()) {
        }
        if (!service.btnStartServerClick())
            return false;
    }
    std::fprintf(stderr, "zir: settings reloaded\n");
    std::fflush(stderr);
    return true;
}

} // namespace zir::console
