// The subcommands of the vexlink program. Each returns the process's exit status and reports
// its own failures on standard error.
#pragma once

#include "Options.h"

namespace vexlink_cli {

int runDetect(const Options& options);
int runVersion(const Options& options);
int runRead(const Options& options);
int runStream(const Options& options);
int runReset(const Options& options);
int runPorts(const Options& options);

}  // namespace vexlink_cli
