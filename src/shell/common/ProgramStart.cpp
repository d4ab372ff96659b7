#include "shell/common/ProgramStart.h"

#include "config/ConfigHelper.h"
#include "core/InProcessCardOperations.h"
#include "platform/Environment.h"
#include "platform/FreeMemory.h"
#include "platform/Paths.h"
#include "platform/SharedFileRead.h"
#include "platform/SingleInstance.h"
#include "platform/UserMessage.h"
#include "reader/ReaderLoader.h"
#include "reader/simulator/SimulatorContract.h"
#include "shell/common/InstallLayout.h"
#include "shell/common/SettingsApply.h"
#include "shell/common/SettingsLoad.h"
#include "shell/common/SettingsLoadNotes.h"

#include <exception>
#include <filesystem>
#include <optional>

namespace zir::shell {

namespace {

std::unique_ptr<core::TCardOperations> BindReaderLibraries(const CommandLine& line) {
    std::string folder;
    if (line.Simulate) {
        // The simulator reads its card file by absolute path: the service may change directory.
        std::optional<std::string> cardFile;
        if (line.SimulatorCardFile)
            cardFile = platform::AbsolutePath(*line.SimulatorCardFile);
        platform::SetEnvironmentValue(reader::simulator::kCardFileVariable, cardFile);
        folder = SimulatorFolder(platform::ExecutableDirectory());
    } else {
        folder = platform::ExecutableDirectory();
    }
    if (line.ReaderDir)
        folder = platform::AbsolutePath(*line.ReaderDir);
    reader::TReaderApi api = reader::LoadReaderLibraries(folder);
    api.Simulated = line.Simulate;
    return std::make_unique<core::InProcessCardOperations>(std::move(api));
}

// The package's settings file is the user's: its folder is made, and the file with the
// defaults on the service's first start, so that the user finds it where the README says.
void UsePackageSettingsFile(const std::string& path, bool service) {
    config::TConfigHelper::SetConfigFilePath(path);
    std::error_code error;
    const std::filesystem::path file = platform::PathFromUtf8(path);
    std::filesystem::create_directories(file.parent_path(), error);
    if (!service || std::filesystem::exists(file, error))
        return;
    try {
        if (LoadSettings())
            config::TConfigHelper::SaveConfig();
    } catch (const std::exception& e) {
        // The service still runs with the defaults; the user learns why nothing was written.
        platform::ShowUserMessage(e.what());
    }
}

bool StartWithSettings(core::CardService& service) {
    ApplySettings(service.Cards());
    return service.btnStartServerClick();
}

} // namespace

bool CommandUsesReader(const std::string& command) {
    return command.empty() || command == "read" || command == "uid";
}

std::unique_ptr<core::TCardOperations> PrepareProgram(const CommandLine& line) {
    if (line.ConfigFile)
        config::TConfigHelper::SetConfigFilePath(platform::AbsolutePath(*line.ConfigFile));
    else if (const auto packaged = PackageSettingsFile(platform::ExecutableDirectory()))
        UsePackageSettingsFile(*packaged, line.Command.empty());
    if (!CommandUsesReader(line.Command))
        return nullptr;
    // Not even loaded beside the running service: the command that wanted it will refuse.
    if (!line.Command.empty() && ServiceRunsBeside())
        return nullptr;
    return BindReaderLibraries(line);
}

bool ServiceRunsBeside() {
    return platform::SingleInstance::IsHeld(config::TConfigHelper::ConfigFilePath());
}

std::string RunningServiceUrl() {
    // Read quietly: a file the load would complain about must not hold the command up.
    config::TConfigRec rec;
    try {
        config::ApplyConfigText(
            platform::ReadWholeFileShared(config::TConfigHelper::ConfigFilePath()), rec);
    } catch (const std::exception&) {
    }
    const int32_t port = rec.WebPort > 0 && rec.WebPort <= 65535 ? rec.WebPort : 80;
    return "http://127.0.0.1:" + std::to_string(port) + "/";
}

bool StartService(core::CardService& service) {
    platform::SetUpAllocatorForService();
    LogSettingsLoadNotes();
    if (config::TConfigHelper::GetConfig().WebPort == 0) {
        config::TConfigHelper::SetWebPort(service.DefaultPort());
        // After a failed load the file holds what the load did not see: a save now would
        // replace the user's settings by the partial ones. The port is settled in memory only.
        if (config::TConfigHelper::LastLoad() != config::TConfigHelper::TLoadResult::Read)
            return StartWithSettings(service);
        try {
            config::TConfigHelper::SaveConfig();
        } catch (const std::exception& e) {
            // The service still starts on the settled port; the user learns why it is not saved.
            platform::ShowUserMessage(e.what());
        }
    }
    return StartWithSettings(service);
}

} // namespace zir::shell
