#pragma once

#include "shell/common/CommandLine.h"

namespace zir::win32 {

// The tray program (the settings path and the reader are prepared here, after the instance
// check): single instance (the mutex "Tarvo"), settings loaded, TForm1 created (tray
// icon, service started), TForm2 created hidden, the message loop with the main window hidden.
// Returns the exit status: 0 after "关闭系统", zir.Quit or the end of the session; 1 when
// another instance runs.
int RunTrayProgram(const shell::CommandLine& line);

} // namespace zir::win32
