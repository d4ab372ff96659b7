#pragma once

// The decode cache: the last six cards decoded in full, keyed by card UID, so that a card left on
// the reader is answered after a UID read alone. Process-wide; every use runs under the
// card-operation lock, so the table takes no lock of its own.

#include "core/TIdCardRec.h"

#include <cstdint>
#include <string>

namespace zir::core {

// One slot: the card UID as the UID read delivered it (empty in a slot never written) and a
// whole copy of the record.
struct TIdCardItem {
    std::string Key;
    TIdCardRec Rec;
};

class TIdCardCache {
  public:
    TIdCardCache() = delete;

    static constexpr int32_t kCapacity = 6;

    // Visits all six slots in order; every slot whose Key equals uid byte for byte is copied over
    // rec, so when two slots hold the same UID the later one wins. Untouched rec on a miss.
    static bool Find(const std::string& uid, TIdCardRec& rec);

    // The same, counting only slots whose record's UidType is uidType too: a UID alone can be
    // copied, or shown by a card of another kind, and must not hand out a holder's record.
    static bool Find(const std::string& uid, const std::string& uidType, TIdCardRec& rec);

    // Stores a copy in the next slot, first in first out; no search for the same UID.
    static void Add(const std::string& uid, const TIdCardRec& rec);

    // Empties the table as at program start (tests; the program never forgets a card).
    static void Clear();
};

} // namespace zir::core
