#pragma once

// A stand-in for the watcher's look at the reader: the card a test puts there, the looks
// counted, and any two that overlap.

#include "core/CardWatcher.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>

namespace zir::test {

class ScriptedReader {
  public:
    core::CardPresence Look() {
        if (inside_.fetch_add(1) != 0)
            ++overlaps_;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ++calls_;
        inside_.fetch_sub(1);
        std::lock_guard<std::mutex> guard(mutex_);
        if (throws_)
            throw std::runtime_error("reader gone");
        return card_;
    }
    void Place(const std::string& uid) {
        std::lock_guard<std::mutex> guard(mutex_);
        card_ = core::CardPresence{true, uid, "{\"uid\":\"" + uid + "\"}", ""};
    }
    void Remove() {
        std::lock_guard<std::mutex> guard(mutex_);
        card_ = core::CardPresence{false, "", "", "no card"};
    }
    void Throw(bool value) {
        std::lock_guard<std::mutex> guard(mutex_);
        throws_ = value;
    }
    int Calls() const { return calls_.load(); }
    int Overlaps() const { return overlaps_.load(); }

  private:
    std::mutex mutex_;
    core::CardPresence card_;
    bool throws_ = false;
    std::atomic<int> calls_{0};
    std::atomic<int> inside_{0};
    std::atomic<int> overlaps_{0};
};

} // namespace zir::test
