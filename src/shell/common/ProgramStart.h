#pragma once

// The program's start-up, the same for the console program and the Windows tray program.

#include "core/CardOperations.h"
#include "core/CardService.h"
#include "shell/common/CommandLine.h"

#include <memory>
#include <string>

namespace zir::shell {

// Whether a command calls the reader library: the service (no command), "read" and "uid".
// Everything else ("settings", "autostart", ...) must not even load it: the running service may
// be inside the reader at that moment, and the reader takes one call at a time.
bool CommandUsesReader(const std::string& command);

// What every command needs before it runs: the settings file's path (--config), and, for the
// commands that use the reader, the card operations on the reader libraries bound (the
// simulated reader with --simulate, the folder of --reader-dir, else the program's own folder);
// null for the others. The shell installs its user-message handler first.
std::unique_ptr<core::TCardOperations> PrepareProgram(const CommandLine& line);

// Whether the running service of the settings file in use (Windows: the tray program of this
// session) exists. It may be inside the reader library at any moment, and the library takes one
// call at a time across processes too: `zir read` and `zir uid` then make no reader call.
bool ServiceRunsBeside();

// Where that service answers, for the people told to use it: "http://127.0.0.1:PORT/" with the
// port of its settings file (80 when the file gives none).
std::string RunningServiceUrl();

// The main window's creation without a window: the last load's notes go to the service log; a
// stored port of 0 becomes the server's default port (80) and is saved, in memory only after a
// failed load; the settings are applied (the beep); the service is started. True when the
// service runs; a failed start has logged "SERVER START FAIL...".
bool StartService(core::CardService& service);

} // namespace zir::shell
