#include "http/TIdHTTPRequestInfo.h"

#include "http/ParamDecoding.h"

namespace zir::http {

std::string TIdHTTPRequestInfo::ParamText() const {
    return JoinParamText(BodyText, QueryString);
}

std::string TIdHTTPRequestInfo::Param(std::string_view name, bool* found) const {
    return FindParam(ParamList, name, found);
}

} // namespace zir::http
