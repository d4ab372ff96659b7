#include "core/ServiceLog.h"

#include <memory>
#include <mutex>

namespace zir::core {

namespace {
std::mutex sinkMutex;
std::shared_ptr<const ServiceLogSink> currentSink;
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
        (*sink)(utf8Line);
}

} // namespace zir::core
