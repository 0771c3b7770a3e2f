// The frame of read and stream: hold the tracker, set its modes, run the sampling loop with the
// subcommand's consumer, then put the tracker back, close the port and print the summary.
#pragma once

#include "Options.h"
#include "SampleLoop.h"

#include <functional>
#include <string>

namespace vexlink_cli {

// before: runs once the modes are set, before the first sample; false fails the command.
// extraSummary: appended to the summary line (for example ", 118 datagrams sent").
// succeeded: asked at the end; false fails the command (for example: nothing could be sent).
struct SampledCommand {
    std::function<bool()> before;
    SampleConsumer consume;
    std::function<std::string()> extraSummary;
    std::function<bool()> succeeded;
};

int runSampledCommand(const Options& options, const SampledCommand& command);

}  // namespace vexlink_cli
