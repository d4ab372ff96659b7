#include "shell/console/ProgramSetup.h"

#include "config/ConfigHelper.h"
#include "platform/Environment.h"
#include "platform/Paths.h"
#include "platform/UserMessage.h"
#include "reader/ReaderLoader.h"
#include "reader/simulator/SimulatorContract.h"

#include <cstdio>

namespace zir::console {

void PrepareProgram(const shell::CommandLine& line) {
    platform::SetUserMessageHandler([](const std::string& text) {
        std::fprintf(stderr, "%s\n", text.c_str());
        std::fflush(stderr);
    });

    if (line.ConfigFile)
        config::TConfigHelper::SetConfigFilePath(platform::AbsolutePath(*line.ConfigFile));

    std::string folder;
    if (line.Simulate) {
        // The simulator reads its card file by absolute path: the service may change directory.
        std::optional<std::string> cardFile;
        if (line.SimulatorCardFile)
            cardFile = platform::AbsolutePath(*line.SimulatorCardFile);
        platform::SetEnvironmentValue(reader::simulator::kCardFileVariable, cardFile);
        folder = platform::ExecutableDirectory() + platform::PathSeparator() + "simulator";
    } else {
        folder = platform::ExecutableDirectory();
    }
    if (line.ReaderDir)
        folder = platform::AbsolutePath(*line.ReaderDir);
    reader::InstallReaderApi(reader::LoadReaderLibraries(folder));
}

} // namespace zir::console
