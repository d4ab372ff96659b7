#include "shell/console/XdgAutostart.h"

#include "platform/Environment.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace zir::console {

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

} // namespace

std::string AutostartEntryPath() {
    std::string base = platform::GetEnvironmentValue("XDG_CONFIG_HOME").value_or("");
    if (base.empty() || base[0] != '/')
        base = platform::GetEnvironmentValue("HOME").value_or("") + "/.config";
    return base + "/autostart/starttarvo.desktop";
}

std::string AutostartEntryText(const std::string& program,
                               const std::vector<std::string>& arguments) {
    std::string exec = QuoteExecArgument(program);
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

void WriteAutostartEntry(const std::string& path, const std::string& text) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    if (error)
        throw std::runtime_error(error.message());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        throw std::runtime_error(path + ": " + std::strerror(errno));
    out << text;
    out.close();
    if (!out)
        throw std::runtime_error(path + ": " + std::strerror(errno));
}

} // namespace zir::console
