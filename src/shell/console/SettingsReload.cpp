#include "shell/console/SettingsReload.h"

#include "config/ConfigHelper.h"
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

    // A load that fails has said so; its partial values are undone.
    if (!config::TConfigHelper::LoadConfig()) {
        Apply(before);
        std::fprintf(stderr, "zir: settings unchanged\n");
        std::fflush(stderr);
        return true;
    }

    const config::TConfigRec after = config::TConfigHelper::GetConfig();
    if (after.WebSound != before.WebSound)
        reader::SwitchReaderBeep(after.WebSound == 1 ? 1 : 0);
    // A new port takes a stop and a start, as the user would press the two buttons.
    if (after.WebPort != before.WebPort && service.Running()) {
        StopUntilStopped(service);
        if (!service.btnStartServerClick())
            return false;
    }
    std::fprintf(stderr, "zir: settings reloaded\n");
    std::fflush(stderr);
    return true;
}

void StopUntilStopped(core::CardService& service) {
    while (service.Running() && !service.btnStopServerClick()) {
    }
}

} // namespace zir::console
