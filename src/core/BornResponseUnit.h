#pragma once

// The JSON documents of a successful full card read, in the four layouts the service offers.

#include "core/TIdCardRec.h"

#include <cstdint>
#include <string>

namespace zir::core {

class TBornResponse {
  public:
    TBornResponse() = delete;

    // The document for the request's WebType: 0 chooses by the card type code (1 identity card,
    // 2 residence permit, 3 and 4 permanent residence card, anything else identity card), 1 the
    // result-content layout, any other value the identity-card layout.
    static std::string BuildResponse(const TIdCardRec& rec, int32_t webType);

    // One layout each. One line, every value a JSON string, every member present even when empty.
    static std::string BuildIdCardJson(const TIdCardRec& rec);
    static std::string BuildResidencePermitJson(const TIdCardRec& rec);
    static std::string BuildPermanentResidenceJson(const TIdCardRec& rec);
    static std::string BuildResultContentJson(const TIdCardRec& rec);
};

} // namespace zir::core
