#pragma once

// One card read as a request makes it: the read under the card-operation lock, its log lines,
// and the JSON document that answers it. Shared by GET and the event stream's documents.

#include "core/CardOperations.h"
#include "core/RequestSettings.h"

#include <string>

namespace zir::core {

enum class CardReadKind { Full, Uid };

// The answer's body: the full-read or UID document, or the failure document, under the
// request's settings.
std::string ReadCardDocument(TCardOperations& cards, CardReadKind kind,
                             const TRequestSettings& settings);

} // namespace zir::core
