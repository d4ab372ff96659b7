#include "shell/common/SettingsLoadNotes.h"

#include "config/ConfigHelper.h"
#include "core/ServiceLog.h"

namespace zir::shell {

void LogSettingsLoadNotes() {
    if (config::TConfigHelper::LastLoad() == config::TConfigHelper::TLoadResult::Unreadable)
        core::LogServiceLine("==SETTINGS WARNING --> [" + config::TConfigHelper::ConfigFilePath() +
                             "] could not be read; every web page is refused until it is");
}

} // namespace zir::shell
