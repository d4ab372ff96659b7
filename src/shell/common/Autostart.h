#pragma once

// Log-on autostart: one entry in the user's session start-up that starts this program, the
// Startup shortcut "starttarvo.lnk" on Windows, the XDG autostart entry "starttarvo.desktop"
// on Linux desktops. The entry itself is written per system (posix/XdgAutostart.cpp,
// win32/StartupShortcut.cpp, chosen by file); the rules around it are shared (Autostart.cpp).

#include "platform/UserMessage.h"
#include "shell/common/CommandLine.h"

#include <optional>
#include <string>

namespace zir::shell {

// What the entry starts: this program, with the settings file and reader folder it runs with.
struct TAutostartProgram {
    std::string Executable;
    std::string ConfigFile;               // absolute: the settings file in use
    bool ConfigFileGiven = false;         // it came from --config rather than being the default
    std::optional<std::string> ReaderDir; // absolute, when --reader-dir was given
};
TAutostartProgram AutostartProgramFor(const CommandLine& line);

// Per system. Where the entry lies; throws std::runtime_error when that cannot be told.
std::string AutostartEntryPath();
// Writes the entry at path; throws std::runtime_error with the reason.
void CreateAutostartEntry(const std::string& path, const TAutostartProgram& program);

// The settings dialog's opening: whether the entry exists. When that cannot be told, Error holds
// the message for an error box owned by the dialog ("开机自启动检测异常-" and the reason).
struct TAutostartState {
    bool On = false;
    std::string Error;
};
TAutostartState ReadAutostartState();

enum class TAutostartChange { None, SwitchedOn, SwitchedOff, Failed };

// The settings dialog's autostart step for its check box: a missing entry is written when it is
// wanted, an existing one removed when it is not; an existing entry is not rewritten and a
// missing one not removed (no message then). Message is the box to show (Text empty: none):
// "开机自启动已打开" / "开机自启动已关闭" as information, or "开机自启动设置失败-" and the
// reason as an error, without owner, captioned "提示信息".
struct TAutostartStep {
    TAutostartChange Change = TAutostartChange::None;
    platform::UserMessage Message;
};
TAutostartStep ChangeAutostart(bool wanted, const TAutostartProgram& program);

inline constexpr const char* kAutostartOnMessage = "开机自启动已打开";
inline constexpr const char* kAutostartOffMessage = "开机自启动已关闭";
inline constexpr const char* kAutostartFailedPrefix = "开机自启动设置失败-";
inline constexpr const char* kAutostartCheckFailedPrefix = "开机自启动检测异常-";

} // namespace zir::shell
