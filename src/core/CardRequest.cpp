#include "core/CardRequest.h"

#include "core/JsonText.h"
#include "http/ParamDecoding.h"
#include "platform/Text.h"

namespace zir::core {

std::string RequestType(const std::vector<std::string>& paramList) {
    return platform::AsciiUpperCase(http::FindParam(paramList, "type"));
}

std::string UidDocument(const TIdCardRec& rec) {
    // The UID is kept as the reader delivered it; in the document it is text like the rest.
    const std::string uid = platform::Cp936ToUtf8(rec.Uid);
    return JsonObject({{"statusCode", "200"}, {"type", rec.UidType}, {"uid", uid}});
}

std::string FailureDocument() {
    return JsonObject({{"statusCode", "500"}});
}

} // namespace zir::core
