// Ctrl-C, SIGTERM and SIGHUP as a request to stop: the handler only sets a flag, which the sampling
// loops check between samples so that they can put the tracker back and close the port.
#pragma once

namespace vexlink_cli {

// Installs the handlers for SIGINT, SIGTERM and SIGHUP, and ignores SIGPIPE so that a closed output
// pipe shows up as a failed write instead of ending the process with the port left open.
void installStopHandlers();

bool stopRequested();

}  // namespace vexlink_cli
