// Ctrl-C and termination as a request to stop: the handler only sets a flag, which the
// sampling loops check between samples so that they can put the tracker back and close the
// port. One implementation per system: StopSignalPosix.cpp, StopSignalWindows.cpp.
#pragma once

namespace vexlink_cli {

// POSIX: handlers for SIGINT, SIGTERM and SIGHUP, and SIGPIPE ignored so that a closed output
// pipe shows up as a failed write instead of ending the process with the port left open.
// Windows: a console control handler for Ctrl-C, Ctrl-Break, the console's closing, logoff
// and shutdown.
void installStopHandlers();

bool stopRequested();

}  // namespace vexlink_cli
