// Running the simulator as a program: until a signal ends it, or for the lifetime of a
// program that is run against it.
#pragma once

#include <korvisor/Simulator.h>

#include <string>
#include <vector>

namespace korvisor {

// The signals the runner waits for; block them in every thread (before the simulator's
// thread starts) so that they reach the runner's wait.
void blockRunnerSignals();

// Runs until SIGINT, SIGTERM or SIGHUP, then stops the simulator; the exit status (0).
int serveUntilSignal(Simulator& sim);

// Runs program with VEXLINK_COM<com> naming the tracker's device and the other three COM
// names, unless set already, naming paths that do not exist. SIGINT and SIGTERM sent to this
// process are passed on to the program. Returns the program's exit status (128 + the signal
// when a signal ended it, 127 when it could not be started).
int runProgram(Simulator& sim, int com, const std::vector<std::string>& program);

}  // namespace korvisor
