#include "shell/common/Autostart.h"

#include "config/ConfigHelper.h"
#include "platform/Environment.h"
#include "platform/Paths.h"
#include "platform/SystemError.h"
#include "shell/common/ProgramNames.h"

#include <exception>
#include <filesystem>
#include <stdexcept>

namespace zir::shell {

namespace {

bool EntryExists(const std::string& path) {
    std::error_code error;
    const bool exists = std::filesystem::exists(platform::PathFromUtf8(path), error);
    if (error)
        throw std::runtime_error(platform::ErrorCodeText(error));
    return exists;
}

platform::UserMessage Notice(std::string text, platform::UserMessageKind kind) {
    platform::UserMessage message;
    message.Text = std::move(text);
    message.Kind = kind;
    message.Caption = shell::kNoticeCaption;
    return message;
}

} // namespace

TAutostartProgram AutostartProgramFor(const CommandLine& line) {
    TAutostartProgram program;
    program.Executable = platform::ExecutablePath();
    program.ConfigFile = config::TConfigHelper::ConfigFilePath();
    program.ConfigFileGiven = line.ConfigFile.has_value();
    if (line.ReaderDir)
        program.ReaderDir = platform::AbsolutePath(*line.ReaderDir);
    return program;
}

TAutostartState ReadAutostartState() {
    TAutostartState state;
    try {
        state.On = EntryExists(AutostartEntryPath());
    } catch (const std::exception& e) {
        state.Error = std::string(kAutostartCheckFailedPrefix) + e.what();
    }
    return state;
}

TAutostartStep ChangeAutostart(bool wanted, const TAutostartProgram& program) {
    using platform::UserMessageKind;
    TAutostartStep step;
    try {
        const std::string path = AutostartEntryPath();
        const bool exists = EntryExists(path);
        if (exists && !wanted) {
            // A removal that failed must not be reported as autostart switched off.
            std::error_code error;
            std::filesystem::remove(platform::PathFromUtf8(path), error);
            if (error)
                throw std::runtime_error(platform::ErrorCodeText(error));
            step.Change = TAutostartChange::SwitchedOff;
            step.Message = Notice(kAutostartOffMessage, UserMessageKind::Information);
        } else if (!exists && wanted) {
            CreateAutostartEntry(path, program);
            step.Change = TAutostartChange::SwitchedOn;
            step.Message = Notice(kAutostartOnMessage, UserMessageKind::Information);
        }
    } catch (const std::exception& e) {
        step.Change = TAutostartChange::Failed;
        step.Message =
            Notice(std::string(kAutostartFailedPrefix) + e.what(), UserMessageKind::Error);
    }
    return step;
}

} // namespace zir::shell
