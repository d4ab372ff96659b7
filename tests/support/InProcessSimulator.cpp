#include "InProcessSimulator.h"

#include "TestSupport.h"

#include "platform/Environment.h"
#include "platform/Paths.h"
#include "reader/ReaderLoader.h"
#include "reader/simulator/SimulatorContract.h"

#include <optional>

namespace zir::test {

InProcessSimulator::InProcessSimulator(const std::string& cardFile, const std::string& workDir)
    : previous_(std::filesystem::current_path()),
      cards_(reader::LoadReaderLibraries(SimulatorDir())) {
    std::filesystem::current_path(platform::PathFromUtf8(workDir));
    if (!cardFile.empty())
        platform::SetEnvironmentValue(reader::simulator::kCardFileVariable, cardFile);
}

InProcessSimulator::~InProcessSimulator() {
    platform::SetEnvironmentValue(reader::simulator::kCardFileVariable, std::nullopt);
    std::filesystem::current_path(previous_);
}

} // namespace zir::test
