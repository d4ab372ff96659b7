#include "http/RequestPath.h"

#include "http/ParamDecoding.h"

namespace zir::http {

namespace {

// Backslashes become "/", but not a byte that is the second half of a GBK double-byte
// character: the request's bytes are in the workstation's code page.
std::string ForwardSlashes(std::string_view path) {
    std::string result(path);
    for (std::size_t i = 0; i < result.size(); ++i) {
        unsigned char byte = static_cast<unsigned char>(result[i]);
        if (byte >= 0x81 && byte <= 0xFE && i + 1 < result.size()) {
            ++i; // lead byte: leave its trail byte alone
        } else if (byte == '\\') {
            result[i] = '/';
        }
    }
    return result;
}

std::string CutAtHash(std::string_view text) {
    return std::string(text.substr(0, text.find('#')));
}

struct TSplit {
    std::string Directory;
    std::string Document;
    std::string Trailing; // from the first "=" to the end
};

// Splits at the last "/" before the first "=" (or the last "/" when there is none).
TSplit SplitPath(std::string_view p) {
    TSplit split;
    std::size_t equals = p.find('=');
    std::string_view head = p.substr(0, equals);
    std::size_t slash = head.rfind('/');
    std::size_t docStart = slash == std::string_view::npos ? 0 : slash + 1;
    split.Directory = std::string(head.substr(0, docStart));
    split.Document = std::string(head.substr(docStart));
    if (equals != std::string_view::npos) {
        split.Trailing = std::string(p.substr(equals));
    }
    return split;
}

} // namespace

TRequestPathResult ComputeRequestPath(std::string_view pathPart) {
    TRequestPathResult result;
    if (pathPart == "*") {
        result.RequestPath.push_back('*');
        return result;
    }
    std::string p = ForwardSlashes(pathPart);
    std::size_t schemeEnd = p.find("://");
    if (schemeEnd == std::string::npos) {
        TSplit split = SplitPath(p);
        result.RequestPath = DecodeUrlPart(split.Directory) + DecodeUrlPart(split.Document) +
                             CutAtHash(split.Trailing);
        return result;
    }

    std::string_view rest = std::string_view(p).substr(schemeEnd + 3);
    std::size_t authorityEnd = rest.find('/');
    std::string_view authority = rest.substr(0, authorityEnd);
    rest =
        authorityEnd == std::string_view::npos ? std::string_view() : rest.substr(authorityEnd + 1);
    std::size_t at = authority.find('@');
    if (at != std::string_view::npos) {
        authority.remove_prefix(at + 1); // user name and password
    }
    result.Host = std::string(authority.substr(0, authority.find(':')));

    TSplit split = SplitPath(rest);
    std::string trailing = split.Trailing;
    std::size_t hash = split.Document.find('#');
    bool bookmarkFollows = hash != std::string::npos && hash + 1 < split.Document.size();
    if (hash != std::string::npos) {
        split.Document.erase(hash);
    }
    if (!bookmarkFollows) {
        trailing = CutAtHash(trailing);
    }
    split.Directory.insert(split.Directory.begin(), '/');
    result.RequestPath = DecodeUrlPart(split.Directory) + DecodeUrlPart(split.Document) + trailing;
    return result;
}

} // namespace zir::http
