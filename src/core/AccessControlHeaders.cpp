#include "core/AccessControlHeaders.h"

namespace zir::core {

// Any page may read the card.
void AddAccessControlHeaders(http::TIdHTTPResponseInfo& response) {
    response.CustomHeaders.Add("Access-Control-Allow-Origin:*");
    response.CustomHeaders.Add("Access-Control-Allow-Headers:*");
    response.CustomHeaders.Add("Access-Control-Allow-Method:*");
}

} // namespace zir::core
