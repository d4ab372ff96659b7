#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zir::shell {

// The command line both programs accept:
//   zir [COMMAND [ARGS...]] [--config FILE] [--simulate[=CARDFILE]] [--reader-dir DIR]
// Options may stand anywhere; the first other word is the command.
struct CommandLine {
    std::string Command;                // empty: run the service
    std::vector<std::string> Arguments; // the words after the command
    std::optional<std::string> ConfigFile;
    bool Simulate = false;
    std::optional<std::string> SimulatorCardFile; // only with --simulate=FILE
    std::optional<std::string> ReaderDir;
    bool Help = false;
    bool Version = false;
};

struct CommandLineResult {
    CommandLine Line;
    std::string Error; // non-empty: the words could not be understood
};

CommandLineResult ParseCommandLine(const std::vector<std::string>& words);

// The usage text printed by --help and after a command line error.
std::string UsageText();

// What --version prints: "zir " and the version the build was made with, then a line break.
std::string VersionText();

} // namespace zir::shell
