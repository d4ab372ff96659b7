#pragma once

// The settings one request follows, taken once where it starts and passed down, so that one
// request never mixes two versions of them; a change applies from the next request.

#include "config/WebOrigins.h"

#include <cstdint>
#include <memory>

namespace zir::core {

struct TRequestSettings {
    int32_t WebType = 0;  // the full read's layout
    bool CacheOn = false; // WebCache 1: the decode cache in front of the full read
    std::shared_ptr<const config::TWebOrigins> OriginRules;

    // The settings in effect now.
    static TRequestSettings Current();
};

} // namespace zir::core
