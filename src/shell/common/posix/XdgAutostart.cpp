// The autostart entry on Linux desktops: $XDG_CONFIG_HOME/autostart/starttarvo.desktop (or
// ~/.config/autostart/), the counterpart of the Windows Startup shortcut "starttarvo.lnk".

#include "shell/common/Autostart.h"

#include "platform/Environment.h"
#include "platform/SystemError.h"
#include "shell/common/InstallLayout.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace zir::shell {

namespace {

// An Exec argument in double quotes; inside them ", `, $ and \ take a backslash, and a literal
// % is written %% because the key's field codes start with it.
std::string QuoteExecArgument(const std::string& argument) {
    std::string quoted = "\"";
    for (char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        if (c == '%')
            quoted += '%';
        quoted += c;
    }
    quoted += '"';
    // The desktop file format escapes backslashes once more in every string value.
    std::string escaped;
    for (char c : quoted) {
        escaped += c;
        if (c == '\\')
            escaped += '\\';
    }
    return escaped;
}

// The entry runs the program with the same settings file and reader folder, always named:
// a desktop session starts it from another folder and with another environment.
std::string EntryText(const TAutostartProgram& program) {
    std::vector<std::string> arguments{"--config", program.ConfigFile};
    if (program.ReaderDir) {
        arguments.push_back("--reader-dir");
        arguments.push_back(*program.ReaderDir);
    }
    std::string exec = QuoteExecArgument(program.Executable);
    for (const auto& argument : arguments)
        exec += " " + QuoteExecArgument(argument);
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=zir服务\n"
           "Comment=身份证zir\n"
           "Exec=" +
           exec +
           "\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

} // namespace

std::string AutostartEntryPath() {
    return UserConfigFolder() + "/autostart/starttarvo.desktop";
}

void CreateAutostartEntry(const std::string& path, const TAutostartProgram& program) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    if (error)
        throw std::runtime_error(platform::ErrorCodeText(error));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        throw std::runtime_error(path + ": " + std::strerror(errno));
    out << EntryText(program);
    out.close();
    if (!out)
        throw std::runtime_error(path + ": " + std::strerror(errno));
}

} // namespace zir::shell
