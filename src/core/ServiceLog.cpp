#include "core/ServiceLog.h"

#include "platform/HandlerSeam.h"
#include "platform/Utf8Codec.h"

namespace zir::core {

namespace {
platform::HandlerSeam<void(const std::string&)> seam;

// One event is one line of UTF-8 text: a request path may carry decoded line breaks or other
// control bytes ("%0A"), which would otherwise split the line or forge another event's line, and
// a path or a reader's UID may carry bytes that are no UTF-8 ("%FF").
std::string OneLine(const std::string& line) {
    std::string out;
    out.reserve(line.size());
    char32_t cp;
    for (size_t i = 0; i < line.size();) {
        const unsigned char c = static_cast<unsigned char>(line[i]);
        if (c < 0x20 || c == 0x7F) {
            static const char hex[] = "0123456789ABCDEF";
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
            ++i;
        } else if (const size_t length = platform::DecodeUtf8(line, i, cp); length != 0) {
            out.append(line, i, length);
            i += length;
        } else {
            out += platform::kUtf8Replacement;
            ++i;
        }
    }
    return out;
}

} // namespace

void SetServiceLogSink(ServiceLogSink sink) {
    seam.Set(std::move(sink));
}

void LogServiceLine(const std::string& utf8Line) {
    if (auto sink = seam.Get())
        (*sink)(OneLine(utf8Line));
}

} // namespace zir::core
