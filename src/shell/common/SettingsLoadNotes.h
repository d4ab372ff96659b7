#pragma once

// What a load of the settings file tells the people who run the service: warnings about lines
// that do not do what they seem to, in the service log after a start's or a reload's load, and
// on stderr for `zir settings`.

#include <optional>
#include <string>
#include <vector>

namespace zir::shell {

// The lines of the last load that hold no known key, named together in one warning.
std::optional<std::string> UnknownKeysWarning();

// "null" in the WebOrigins list in effect: it admits the sandboxed frames of every site too.
std::optional<std::string> NullOriginWarning();

// Both, as the service logs them after a load.
std::vector<std::string> SettingsWarnings();

// The warnings and, when the last load could not read the file, that every page is refused
// until it can, each as a service-log line "==SETTINGS WARNING --> <text>".
void LogSettingsLoadNotes();

} // namespace zir::shell
