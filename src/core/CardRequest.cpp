#include "core/CardRequest.h"

#include "core/JsonText.h"
#include "platform/Text.h"

namespace zir::core {

namespace {

char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i]))
            return false;
    return true;
}

} // namespace

std::string RequestType(const std::vector<std::string>& paramList) {
    for (const std::string& entry : paramList) {
        auto equals = entry.find('=');
        if (equals == std::string::npos ||
            !EqualsIgnoringAsciiCase(entry.substr(0, equals), "type"))
            continue;
        std::string value = entry.substr(equals + 1);
        for (char& c : value)
            c = AsciiUpper(c);
        return value;
    }
    return {};
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
