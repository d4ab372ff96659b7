#include "core/CardRequest.h"

#include "core/JsonText.h"
#include "http/ParamDecoding.h"
#include "platform/Text.h"

namespace zir::core {

std::string RequestType(const std::vector<std::string>& paramList) {
    return platform::AsciiUpperCase(http::FindParam(paramList, "type"));
}

std::string UidDocument(const TIdCardRec& rec) {
    std::string document = R"({"statusCode":"200","type":")";
    AppendJsonEscaped(document, rec.UidType);
    document += R"(","uid":")";
    // The UID is kept as the reader delivered it; in the document it is text like the rest.
    AppendJsonEscaped(document, platform::Cp936ToUtf8(rec.Uid));
    document += R"("})";
    return document;
}

std::string FailureDocument() {
    return R"({"statusCode":"500"})";
}

} // namespace zir::core
