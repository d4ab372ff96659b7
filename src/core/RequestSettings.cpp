#include "core/RequestSettings.h"

#include "config/ConfigHelper.h"

namespace zir::core {

TRequestSettings TRequestSettings::Current() {
    const config::TConfigRec rec = config::TConfigHelper::GetConfig();
    return TRequestSettings{rec.WebType, rec.WebCache == 1,
                            config::TConfigHelper::WebOriginRules()};
}

} // namespace zir::core
