#include "core/ServiceLog.h"

#include "platform/HandlerSeam.h"

namespace zir::core {

namespace {
platform::HandlerSeam<void(const std::string&)> seam;

// One event is one line: a request path may carry decoded line breaks or other control bytes
// ("%0A"), which would otherwise split the line or forge another event's line.
std::string OneLine(const std::string& line) {
    std::string out;
    out.reserve(line.size());
    for (unsigned char c : line) {
        if (c < 0x20 || c == 0x7F) {
            static const char hex[] = "0123456789ABCDEF";
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
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
