#include "core/ServiceLog.h"

#include <memory>
#include <mutex>

namespace zir::core {

namespace {
std::mutex sinkMutex;
std::shared_ptr<const ServiceLogSink> currentSink;
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
    auto next = sink ? std::make_shared<const ServiceLogSink>(std::move(sink)) : nullptr;
    std::lock_guard lock(sinkMutex);
    currentSink = std::move(next);
}

void LogServiceLine(const std::string& utf8Line) {
    std::shared_ptr<const ServiceLogSink> sink;
    {
        std::lock_guard lock(sinkMutex);
        sink = currentSink;
    }
    // Called outside the lock so a slow sink never holds up the other workers' hand-over.
    if (sink)
        (*sink)(OneLine(utf8Line));
}

} // namespace zir::core
