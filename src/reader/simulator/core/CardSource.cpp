#include "reader/simulator/core/CardSource.h"

#include "platform/Environment.h"
#include "platform/Paths.h"
#include "platform/SharedFileRead.h"
#include "reader/simulator/SimulatorContract.h"

#include <cstdio>
#include <exception>
#include <filesystem>

namespace zir::reader::simulator {

void WarnLine(const std::string& text) {
    std::string line = "zir simulator: " + text + "\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
}

std::shared_ptr<const SimulatedCard> CardSource::Current() {
    std::lock_guard lock(mutex_);
    auto variable = platform::GetEnvironmentValue(kCardFileVariable);
    if (!variable || variable->empty()) {
        if (!demo_)
            demo_ = std::make_shared<const SimulatedCard>(DemoCard());
        return demo_;
    }

    std::optional<platform::FileStamp> stamp = platform::ReadFileStamp(*variable);
    if (!stamp) {
        // No card file, no card on the reader; a later file is read afresh.
        card_.reset();
        return nullptr;
    }
    if (card_ && *variable == path_ && *stamp == stamp_)
        return card_;

    path_ = *variable;
    stamp_ = *stamp;
    if (stamp->Size > kMaxCardFileBytes) {
        WarnLine(*variable + ": card file larger than 1 MiB, no card on the reader");
        card_.reset();
        path_.clear();
        return nullptr;
    }
    std::string text;
    try {
        text = platform::ReadWholeFileShared(*variable);
    } catch (const std::exception&) {
        // Being rewritten at this moment, most likely: the next call tries again.
        card_.reset();
        path_.clear();
        return nullptr;
    }
    auto parent = platform::PathFromUtf8(*variable).parent_path().u8string();
    std::string folder =
        parent.empty() ? std::string(".") : std::string(parent.begin(), parent.end());
    std::string warnings;
    card_ = std::make_shared<const SimulatedCard>(ParseCardFile(text, folder, &warnings));
    std::size_t start = 0;
    while (start < warnings.size()) {
        std::size_t end = warnings.find('\n', start);
        WarnLine(*variable + ": " + warnings.substr(start, end - start));
        start = end + 1;
    }
    return card_;
}

} // namespace zir::reader::simulator
