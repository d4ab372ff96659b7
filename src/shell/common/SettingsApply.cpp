#include "shell/common/SettingsApply.h"

#include "config/ConfigHelper.h"
#include "core/CardLock.h"
#include "shell/common/SettingsLoad.h"
#include "shell/common/SettingsLoadNotes.h"

namespace zir::shell {

namespace {

void Restore(const config::TConfigRec& settings) {
    config::TConfigHelper::SetWebPort(settings.WebPort);
    config::TConfigHelper::SetWebType(settings.WebType);
    config::TConfigHelper::SetWebCache(settings.WebCache);
    config::TConfigHelper::SetWebSound(settings.WebSound);
}

bool operator==(const config::TConfigRec& a, const config::TConfigRec& b) {
    return a.WebPort == b.WebPort && a.WebType == b.WebType && a.WebCache == b.WebCache &&
           a.WebSound == b.WebSound;
}

} // namespace

void ApplySettings(core::TCardOperations& cards) {
    const int32_t on = config::TConfigHelper::GetConfig().WebSound == 1 ? 1 : 0;
    auto lock = core::LockCardOperation();
    cards.Beep(lock, on);
}

TSettingsSaveResult SaveSettingsAndApply(core::TCardOperations& cards, const TSettingsForm& form) {
    TSettingsSaveResult result = SaveSettings(form);
    if (result.Changed)
        ApplySettings(cards);
    return result;
}

TReloadOutcome ReloadSettings(core::CardService& service) {
    const config::TConfigRec before = config::TConfigHelper::GetConfig();
    const std::string originsBefore = config::TConfigHelper::GetWebOrigins();
    using TLoadResult = config::TConfigHelper::TLoadResult;
    const bool unreadBefore = config::TConfigHelper::LastLoad() == TLoadResult::Unreadable;

    // A load that fails has said so; its partial values are undone. Every origin stays refused
    // while the file is unread (the list it holds is unknown): the old list is put back only
    // when both loads read the file.
    const bool loaded = LoadSettings();
    LogSettingsLoadNotes();
    if (!loaded) {
        Restore(before);
        if (!unreadBefore && config::TConfigHelper::LastLoad() != TLoadResult::Unreadable)
            config::TConfigHelper::SetWebOrigins(originsBefore);
        return TReloadOutcome::Unchanged;
    }

    const config::TConfigRec after = config::TConfigHelper::GetConfig();
    // As the dialog's save: something changed, the beep is switched again.
    if (!(after == before))
        ApplySettings(service.Cards());
    if (after.WebPort != before.WebPort && service.Running()) {
        StopUntilStopped(service);
        if (!service.btnStartServerClick())
            return TReloadOutcome::StartFailed;
    }
    return TReloadOutcome::Reloaded;
}

const char* ReloadNote(TReloadOutcome outcome) {
    switch (outcome) {
    case TReloadOutcome::Reloaded:
        return "zir: settings reloaded";
    case TReloadOutcome::Unchanged:
        return "zir: settings unchanged";
    case TReloadOutcome::StartFailed:
        break;
    }
    return "zir: the service could not start again";
}

void StopUntilStopped(core::CardService& service) {
    while (service.Running() && !service.btnStopServerClick()) {
    }
}

} // namespace zir::shell
