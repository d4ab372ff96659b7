#include "reader/simulator/core/CallGuard.h"

#include "reader/simulator/core/CardSource.h"

#include <chrono>
#include <thread>

namespace zir::reader::simulator {

CallGuard::Entry::Entry(CallGuard& guard, const char* function) : guard_(guard) {
    admitted_ = guard_.inside_.fetch_add(1) == 0;
    if (admitted_) {
        guard_.current_.store(function);
        return;
    }
    guard_.overlaps_.fetch_add(1);
    const char* other = guard_.current_.load();
    WarnLine(std::string("warning: ") + function + " called while " +
             (other ? other : "another call") +
             " is still running; a real reader would be corrupted (result -1)");
}

CallGuard::Entry::~Entry() {
    if (admitted_)
        guard_.current_.store(nullptr);
    guard_.inside_.fetch_sub(1);
}

void ImitateReaderDelay(int delayMs) {
    if (delayMs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
}

} // namespace zir::reader::simulator
