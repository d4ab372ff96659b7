#pragma once

// The card operations made in this process, through the reader library's bound functions.

#include "core/CardOperations.h"
#include "reader/ReaderApi.h"

namespace zir::core {

class InProcessCardOperations final : public TCardOperations {
  public:
    explicit InProcessCardOperations(reader::TReaderApi api) : api_(std::move(api)) {}

    bool ReadUid(const CardOperationGuard& held, TIdCardRec& rec) override;
    bool ReadFull(const CardOperationGuard& held, TIdCardRec& rec) override;
    void Beep(const CardOperationGuard& held, int32_t on) override;
    TReaderBinding Binding() const override { return {api_.Simulated, api_.Missing}; }

  private:
    reader::TReaderApi api_;
};

} // namespace zir::core
