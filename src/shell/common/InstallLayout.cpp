#include "shell/common/InstallLayout.h"

#include "platform/Environment.h"
#include "platform/Paths.h"

#include <filesystem>

namespace zir::shell {

std::string UserConfigFolder() {
    std::string base = platform::GetEnvironmentValue("XDG_CONFIG_HOME").value_or("");
    if (base.empty() || base[0] != '/')
        base = platform::GetEnvironmentValue("HOME").value_or("") + "/.config";
    return base;
}

std::optional<std::string> PackageLibraryFolder(const std::string& programFolder) {
    const std::filesystem::path program = platform::PathFromUtf8(programFolder);
    if (program.filename() != "bin")
        return std::nullopt;
    const std::filesystem::path library = program.parent_path() / "lib" / "zir";
    std::error_code error;
    if (!std::filesystem::is_directory(library, error))
        return std::nullopt;
    return library.string();
}

std::optional<std::string> PackageSettingsFile(const std::string& programFolder) {
    if (!PackageLibraryFolder(programFolder))
        return std::nullopt;
    return UserConfigFolder() + "/zir/zir.INI";
}

std::string SimulatorFolder(const std::string& programFolder) {
    const std::string base = PackageLibraryFolder(programFolder).value_or(programFolder);
    return base + platform::PathSeparator() + "simulator";
}

} // namespace zir::shell
