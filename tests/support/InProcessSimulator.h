#pragma once

// The simulated reader's libraries bound in the test's own process, with the in-process card
// operations on them, for tests of the card reads below the program: the card of cardFile on the
// reader, and the current folder moved to workDir, where the photo file lands; no cardFile: the
// built-in demo card. Everything is undone when it goes.

#include "core/InProcessCardOperations.h"

#include <filesystem>
#include <string>

namespace zir::test {

class InProcessSimulator {
  public:
    InProcessSimulator(const std::string& cardFile, const std::string& workDir);
    ~InProcessSimulator();
    InProcessSimulator(const InProcessSimulator&) = delete;
    InProcessSimulator& operator=(const InProcessSimulator&) = delete;

    core::TCardOperations& Cards() { return cards_; }

  private:
    std::filesystem::path previous_;
    core::InProcessCardOperations cards_;
};

} // namespace zir::test
