#include "core/TIdCardCacheUnit.h"

#include <array>

namespace zir::core {

namespace {
std::array<TIdCardItem, TIdCardCache::kCapacity> table;
int32_t nextSlot = 0;
} // namespace

bool TIdCardCache::Find(const std::string& uid, TIdCardRec& rec) {
    bool hit = false;
    for (const TIdCardItem& item : table) {
        if (item.Key == uid) {
            rec = item.Rec;
            hit = true;
        }
    }
    return hit;
}

bool TIdCardCache::Find(const std::string& uid, const std::string& uidType, TIdCardRec& rec) {
    bool hit = false;
    for (const TIdCardItem& item : table) {
        if (item.Key == uid && item.Rec.UidType == uidType) {
            rec = item.Rec;
            hit = true;
        }
    }
    return hit;
}

void TIdCardCache::Add(const std::string& uid, const TIdCardRec& rec) {
    // Reduced before use, so the counter never grows past the capacity.
    nextSlot %= kCapacity;
    table[static_cast<size_t>(nextSlot)] = TIdCardItem{uid, rec};
    ++nextSlot;
}

void TIdCardCache::Clear() {
    table.fill(TIdCardItem{});
    nextSlot = 0;
}

} // namespace zir::core
