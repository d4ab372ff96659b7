#include "config/ConfigHelper.h"
#include "core/ICH.h"
#include "core/TIdCardCacheUnit.h"
#include "platform/Text.h"

#include <string>

namespace zir::core {

bool ReadIdCardCached(TIdCardRec& rec) {
    // Read afresh at every call, so a change saved in the settings applies to the next request.
    const bool cacheOn = config::TConfigHelper::GetConfig().WebCache == 1;

    std::string key;
    if (cacheOn && ReadCardUid(rec) && !rec.Uid.empty()) {
        key = rec.Uid;
        if (TIdCardCache::Find(key, rec)) {
            rec.FromCache = true;
            return true;
        }
    }

    // A failed UID read leaves its message in ErrorMsg; a successful full read does not clear it.
    const bool ok = ReadIdCard(rec);
    rec.FromCache = false;
    // The holder may have swapped cards between the two reads: a record is stored only under
    // the UID its own read reported, or card A would answer with card B's holder from now on.
    if (ok && !key.empty() && platform::TrimBlanksAndControls(key) == rec.Uid)
        TIdCardCache::Add(key, rec);
    return ok;
}

} // namespace zir::core
