#pragma once

// What a load of the settings file tells the people who run the service, in the service log
// after a start's or a reload's load.

namespace zir::shell {

// When the last load could not read the file: that every page is refused until it can, as a
// service-log line "==SETTINGS WARNING --> <text>".
void LogSettingsLoadNotes();

} // namespace zir::shell
