#include "shell/common/CommandLine.h"

#include <string_view>

namespace zir::shell {

namespace {

// "--name=value" or "--name value"; returns false when the word is not this option.
bool TakeValueOption(const std::vector<std::string>& words, size_t& i, std::string_view name,
                     std::optional<std::string>& value, std::string& error) {
    const std::string& word = words[i];
    if (word == name) {
        if (i + 1 >= words.size()) {
            error = std::string(name) + " needs a value";
            return true;
        }
        value = words[++i];
        return true;
    }
    if (word.size() > name.size() && word.compare(0, name.size(), name) == 0 &&
        word[name.size()] == '=') {
        value = word.substr(name.size() + 1);
        return true;
    }
    return false;
}

} // namespace

CommandLineResult ParseCommandLine(const std::vector<std::string>& words) {
    CommandLineResult result;
    CommandLine& line = result.Line;
    bool commandSeen = false;
    for (size_t i = 0; i < words.size() && result.Error.empty(); ++i) {
        const std::string& word = words[i];
        if (TakeValueOption(words, i, "--config", line.ConfigFile, result.Error) ||
            TakeValueOption(words, i, "--reader-dir", line.ReaderDir, result.Error))
            continue;
        if (word == "--simulate") {
            line.Simulate = true;
        } else if (word.rfind("--simulate=", 0) == 0) {
            line.Simulate = true;
            line.SimulatorCardFile = word.substr(std::string_view("--simulate=").size());
        } else if (word == "--help" || word == "-h") {
            line.Help = true;
        } else if (word == "--version") {
            line.Version = true;
        } else if (word.rfind("--", 0) == 0) {
            result.Error = "unknown option " + word;
        } else if (!commandSeen) {
            line.Command = word;
            commandSeen = true;
        } else {
            line.Arguments.push_back(word);
        }
    }
    if (result.Error.empty() && line.ConfigFile && line.ConfigFile->empty())
        result.Error = "--config needs a file name";
    if (result.Error.empty() && line.ReaderDir && line.ReaderDir->empty())
        result.Error = "--reader-dir needs a folder";
    return result;
}

std::string UsageText() {
    return "usage: zir [COMMAND] [OPTIONS]\n"
           "\n"
           "commands:\n"
           "  (none)                 start the identity-card service on 127.0.0.1:WebPort\n"
           "  read                   read the card on the reader once and print its fields\n"
           "  uid                    read the card's UID once\n"
           "                         (read and uid are refused while the service of the same\n"
           "                         settings file runs, on Windows of the same session: ask\n"
           "                         it instead, http://127.0.0.1:WebPort/)\n"
           "  settings [KEY=VALUE]   print the settings, or change and save them\n"
           "                         (WebPort=8080 WebType=1 WebCache=1 WebSound=0\n"
           "                         WebOrigins=\"https://a.example http://intranet:8080\":\n"
           "                         the pages that may read the card; empty or * for every\n"
           "                         page; null admits pages opened from a file and also the\n"
           "                         sandboxed frames of every site, as open as *)\n"
           "  autostart on|off|status  start the service at log-on, or not\n"
           "\n"
           "options:\n"
           "  --config FILE          settings file (default: the program's path + .INI)\n"
           "  --simulate[=CARDFILE]  use the simulated reader; without a file, the demo card\n"
           "  --reader-dir DIR       folder of the reader libraries (default: the program's)\n"
           "  --version              the program's version\n"
           "  --help                 this text\n";
}

std::string VersionText() {
    return std::string("zir ") + ZIR_VERSION + "\n";
}

} // namespace zir::shell
