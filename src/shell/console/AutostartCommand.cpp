#include "shell/console/Commands.h"

#include "config/ConfigHelper.h"
#include "platform/Environment.h"
#include "platform/Paths.h"
#include "shell/console/XdgAutostart.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <stdexcept>

namespace zir::console {

namespace {

void Say(const char* text) {
    std::printf("%s\n", text);
    std::fflush(stdout);
}

} // namespace

// Like the settings dialog's check box: an existing entry is not rewritten, a missing one is not
// removed; a message only when something changed. "status" says which state holds.
int RunAutostart(const shell::CommandLine& line) {
    const std::string action = line.Arguments.empty() ? "" : line.Arguments[0];
    if (line.Arguments.size() != 1 || (action != "on" && action != "off" && action != "status")) {
        std::fprintf(stderr,
                     "usage: zir autostart on|off|status [--config FILE] [--reader-dir DIR]\n");
        return 2;
    }
    const std::string path = AutostartEntryPath();
    std::error_code error;
    const bool exists = std::filesystem::exists(path, error);

    if (action == "status") {
        Say(exists ? "开机自启动已打开" : "开机自启动已关闭");
        return 0;
    }
    try {
        if (exists && action == "off") {
            std::filesystem::remove(path, error);
            if (error)
                throw std::runtime_error(error.message());
            Say("开机自启动已关闭");
        } else if (!exists && action == "on") {
            std::vector<std::string> arguments{"--config", config::TConfigHelper::ConfigFilePath()};
            if (line.ReaderDir) {
                arguments.push_back("--reader-dir");
                arguments.push_back(platform::AbsolutePath(*line.ReaderDir));
            }
            WriteAutostartEntry(path, AutostartEntryText(platform::ExecutablePath(), arguments));
            Say("开机自启动已打开");
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "开机自启动设置失败-%s\n", e.what());
        return 1;
    }
    return 0;
}

} // namespace zir::console
