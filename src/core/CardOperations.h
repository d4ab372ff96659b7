#pragma once

// The card operations the service asks of the reader, behind one seam: made in this process
// through the reader library's functions, or by whatever stands in for it. Each takes the
// card-operation guard, so none can be called without the lock.

#include "core/CardLock.h"
#include "core/TIdCardRec.h"

#include <cstdint>
#include <string>

namespace zir::core {

// What stands behind the operations, as far as it is known without a reader call.
struct TReaderBinding {
    bool Simulated = false; // the simulated reader, not a vendor's library
    std::string Missing;    // the library file or function that could not be bound, as logged
};

class TCardOperations {
  public:
    virtual ~TCardOperations() = default;

    // UID read: Uid and UidType on success, ErrorMsg on failure.
    virtual bool ReadUid(const CardOperationGuard& held, TIdCardRec& rec) = 0;
    // Full read into the record; false with ErrorMsg set when a step fails. Does not clear the
    // record first.
    virtual bool ReadFull(const CardOperationGuard& held, TIdCardRec& rec) = 0;
    // The reader's beep switch, 1 on, 0 off, when the reader has one; its result is not used.
    virtual void Beep(const CardOperationGuard& held, int32_t on) = 0;
    // Without the lock and without a reader call: for the status answer.
    virtual TReaderBinding Binding() const = 0;

  protected:
    TCardOperations() = default;
    TCardOperations(const TCardOperations&) = default;
    TCardOperations& operator=(const TCardOperations&) = default;
};

} // namespace zir::core
