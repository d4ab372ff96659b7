#include "core/ReadIdCardCached.h"

#include "core/TIdCardCacheUnit.h"
#include "platform/Text.h"

#include <string>

namespace zir::core {

namespace {

enum class TAttempt { Answered, CardSwapped };

// One UID read, lookup and full read. CardSwapped: the full read reported another UID than the
// lookup used, so the holder swapped cards while it ran.
TAttempt ReadOnce(TCardOperations& cards, const CardOperationGuard& held, TIdCardRec& rec,
                  bool cacheOn, bool& ok) {
    std::string key;
    if (cacheOn && cards.ReadUid(held, rec) && !rec.Uid.empty()) {
        key = rec.Uid;
        // The kind of card must match too: a card showing a remembered UID is not necessarily
        // the card that was read under it.
        if (TIdCardCache::Find(key, rec.UidType, rec)) {
            rec.FromCache = true;
            ok = true;
            return TAttempt::Answered;
        }
    }

    // A failed UID read leaves its message in ErrorMsg; a successful full read does not clear it.
    ok = cards.ReadFull(held, rec);
    rec.FromCache = false;
    if (!ok || key.empty())
        return TAttempt::Answered;
    // A record is stored only under the UID its own read reported, or card A would answer with
    // card B's holder from now on.
    if (platform::TrimBlanksAndControls(key) != rec.Uid)
        return TAttempt::CardSwapped;
    TIdCardCache::Add(key, rec);
    return TAttempt::Answered;
}

} // namespace

bool ReadIdCardCached(TCardOperations& cards, const CardOperationGuard& held, TIdCardRec& rec,
                      bool cacheOn) {
    bool ok = false;
    if (ReadOnce(cards, held, rec, cacheOn, ok) == TAttempt::Answered)
        return ok;
    // A swap in the middle of the read may have left one card's fields beside the other's UID:
    // the card now lying on the reader is read once more, from a fresh record. Swapped again,
    // the record cannot be trusted to be one card's: the read fails, so the caller asks again.
    rec = TIdCardRec{};
    if (ReadOnce(cards, held, rec, cacheOn, ok) == TAttempt::Answered)
        return ok;
    rec.ErrorMsg = "读卡时卡片已更换，请重新读卡";
    return false;
}

} // namespace zir::core
