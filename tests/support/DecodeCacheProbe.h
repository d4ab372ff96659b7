#pragma once

// The decode cache seen from outside, as a read sees it.

#include "core/TIdCardCacheUnit.h"

#include <string>

namespace zir::test {

inline bool InCache(const std::string& uid) {
    core::TIdCardRec rec;
    return core::TIdCardCache::Find(uid, rec);
}

// How many cards the table took since it was emptied: cards are added until no slot is left
// that was never written (an empty key finds only those). Fills the table, so it comes last;
// a card stored under an empty key looks like a free slot.
inline int CardsInCache() {
    int added = 0;
    while (InCache("")) {
        core::TIdCardCache::Add("probe-" + std::to_string(added), core::TIdCardRec{});
        ++added;
    }
    return core::TIdCardCache::kCapacity - added;
}

} // namespace zir::test
