// The autostart entry on Windows: the shortcut "starttarvo.lnk" in the current user's Startup
// folder, pointing at this program.

#include "shell/common/Autostart.h"

#include "platform/ShellLink.h"
#include "platform/UserMessage.h"
#include "shell/common/ProgramNames.h"
#include "shell/common/StartupShortcutRules.h"

#include <stdexcept>

namespace zir::shell {

namespace {

void CreateShortcut(const std::string& target, const std::string& arguments,
                    const std::string& linkPath, const std::string& description) {
    if (!HasLinkExtension(linkPath))
        throw std::runtime_error(kShortcutExtensionError);
    platform::WriteShellLink(linkPath, {.Target = target,
                                        .Arguments = arguments,
                                        .WorkingFolder = ShortcutWorkingFolder(target),
                                        .Description = description});
}

} // namespace

std::string AutostartEntryPath() {
    return StartupFilePath(platform::StartupFolder(), kShortcutFileName);
}

void CreateAutostartEntry(const std::string& path, const TAutostartProgram& program) {
    CreateShortcut(program.Executable, ShortcutArguments(program), path, shell::kApplicationTitle);
}

} // namespace zir::shell
