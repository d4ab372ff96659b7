#pragma once

// The settings dialog's decisions without a window: what it shows when it opens, and what its
// save button does with the texts and ticks it was given. The Windows dialog and `zir settings`
// both call these.

#include <optional>
#include <string>

namespace zir::shell {

// The dialog's controls: the two edit boxes' texts and the two check boxes; and WebOrigins,
// which only `zir settings` sets: the dialog has no box for it, so it leaves it as it is.
struct TSettingsForm {
    std::string PortText;
    std::string TypeText;
    bool Cache = false;
    bool Sound = false;
    std::optional<std::string> OriginsText = std::nullopt; // nullopt: WebOrigins stays as it is
};

// The values the dialog shows when it opens: port and type in decimal, each box ticked when its
// setting is not 0.
TSettingsForm SettingsFormValues();

enum class TSettingsFocus { None, Port, Type };

struct TSettingsSaveResult {
    bool Valid = false;   // every check passed
    bool Changed = false; // the values differed from the settings and are now set in memory
    bool Saved = false;   // ... and were written to the file
    TSettingsFocus Focus = TSettingsFocus::None; // the edit box to focus after a failed check
    std::string Message;   // the failed check's message, or the change notice after a save
    std::string SaveError; // the settings file could not be written; the new values stay set
};

// The save button: trims and checks both texts (port 0..65535, type any 32-bit integer), and a
// given WebOrigins (a list of origins, "*" or empty; the message names the bad entry); when any
// value differs from the current settings, sets them all and writes the file. Equal values
// save nothing and show nothing. It never calls the reader: `zir settings` runs it in a second
// process. The running program follows a result with Changed by ApplySettings (SettingsApply.h),
// which switches the beep at once: SaveSettingsAndApply does both where waiting for a read in
// progress is allowed; the Windows dialog hands the second step to its service worker.
TSettingsSaveResult SaveSettings(const TSettingsForm& form);

// The texts the dialog shows, byte for byte.
inline constexpr const char* kPortEmptyMessage = "服务端口不能为空";
inline constexpr const char* kPortInvalidMessage = "服务端口设置无效";
inline constexpr const char* kTypeEmptyMessage = "服务类别不能为空";
inline constexpr const char* kTypeInvalidMessage = "服务类别设置无效[整数]";
inline constexpr const char* kSettingsChangedMessage = "服务设置已变更，请重启zir服务。";

} // namespace zir::shell
