#include "shell/common/StartupShortcutRules.h"

#include "platform/Text.h"

namespace zir::shell {

namespace {

// Backslashes count only before a quote: 2n of them and \" for n before a quote, and 2n before
// the closing quote.
std::string QuoteWord(const std::string& word) {
    if (!word.empty() && word.find_first_of(" \t\n\v\"") == std::string::npos)
        return word;
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : word) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') {
            quoted.append(backslashes * 2 + 1, '\\');
        } else {
            quoted.append(backslashes, '\\');
        }
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    quoted += '"';
    return quoted;
}

} // namespace

std::string StartupFilePath(const std::string& startupFolder, const std::string& fileName) {
    return startupFolder + "\\" + fileName;
}

bool HasLinkExtension(const std::string& path) {
    const size_t name = path.find_last_of("\\/");
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || (name != std::string::npos && dot < name))
        return false;
    return platform::AsciiUpperCase(path.substr(dot)) == ".LNK";
}

std::string ShortcutWorkingFolder(const std::string& target) {
    const size_t name = target.find_last_of("\\/");
    return (name == std::string::npos ? std::string() : target.substr(0, name)) + "\\";
}

std::string ShortcutArguments(const TAutostartProgram& program) {
    std::vector<std::string> words;
    if (program.ConfigFileGiven) {
        words.push_back("--config");
        words.push_back(program.ConfigFile);
    }
    if (program.ReaderDir) {
        words.push_back("--reader-dir");
        words.push_back(*program.ReaderDir);
    }
    return WindowsCommandLine(words);
}

std::string WindowsCommandLine(const std::vector<std::string>& words) {
    std::string line;
    for (const std::string& word : words) {
        if (!line.empty())
            line += ' ';
        line += QuoteWord(word);
    }
    return line;
}

} // namespace zir::shell
