#include "shell/common/SettingsLoad.h"

#include "config/ConfigHelper.h"
#include "platform/UserMessage.h"

namespace zir::shell {

bool LoadSettings() {
    const config::TConfigLoadResult loaded = config::TConfigHelper::LoadConfig();
    if (!loaded)
        platform::ShowUserMessage(loaded.Error);
    return static_cast<bool>(loaded);
}

} // namespace zir::shell
