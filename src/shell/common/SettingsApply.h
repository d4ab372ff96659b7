#pragma once

// Settings that change while the program runs: one way to put them into effect, whether they
// come from the start, the settings dialog's save or the settings file read again.

#include "core/CardService.h"
#include "shell/common/SettingsSave.h"

namespace zir::shell {

// Puts the settings record as it stands into effect in the running program. WebType, WebCache
// and WebOrigins need nothing (every request reads them); the reader's beep follows WebSound (1 on,
// anything else off), switched under the card-operation lock, so it waits for a read in
// progress: call it where waiting for a slow reader is allowed, never on the UI thread while
// requests are served. A new port is the business of the start and of ReloadSettings.
// Only the running program calls it: a second process never touches the reader.
void ApplySettings(core::TCardOperations& cards);

// The settings dialog's save in the running program: SaveSettings, then, when a value changed
// (saved or not: the new values are set either way), ApplySettings, so the beep follows at once.
// Waits for a read in progress, like ApplySettings.
TSettingsSaveResult SaveSettingsAndApply(core::TCardOperations& cards, const TSettingsForm& form);

enum class TReloadOutcome {
    Reloaded,    // read and applied
    Unchanged,   // the file could not be loaded; the settings in effect stay as they were
    StartFailed, // a new port stopped the service and it could not start on it
};

// The settings file read again (SIGHUP, "zir.SettingsChanged") and applied as the settings
// dialog's save would apply it, and a changed port by stopping and starting the running
// service, as the user would press the two buttons. A file that cannot be loaded changes
// nothing, WebOrigins included. Waits for a read in progress and for busy handlers, like
// ApplySettings.
TReloadOutcome ReloadSettings(core::CardService& service);

// The note both programs write to stderr after a reload: "zir: settings reloaded", "zir:
// settings unchanged" or "zir: the service could not start again".
const char* ReloadNote(TReloadOutcome outcome);

// Stops as the user would press the stop button again and again: a handler that is still busy
// makes one stop fail, and the next one succeeds once it has returned.
void StopUntilStopped(core::CardService& service);

} // namespace zir::shell
