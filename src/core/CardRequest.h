#pragma once

// The pieces of one card request that the handler decides or builds itself: the request kind
// and the two small documents (the full-read documents come from TBornResponse).

#include "core/TIdCardRec.h"

#include <string>
#include <vector>

namespace zir::core {

// The value of the first "type" parameter (name compared ignoring case), ASCII upper-cased;
// empty when there is none. "UID" asks for the UID only.
std::string RequestType(const std::vector<std::string>& paramList);

// {"statusCode":"200","type":"<UidType>","uid":"<Uid>"}, both values as UTF-8 JSON text.
std::string UidDocument(const TIdCardRec& rec);

// {"statusCode":"500"}: the reason goes to the log only.
std::string FailureDocument();

} // namespace zir::core
