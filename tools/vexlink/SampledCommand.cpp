#include "SampledCommand.h"

#include "Report.h"
#include "TrackerSession.h"

#include <cstdio>

namespace vexlink_cli {

int runSampledCommand(const Options& options, const SampledCommand& command) {
    std::string error;
    std::unique_ptr<TrackerSession> session = TrackerSession::open(options.port, error);
    if (!session) {
        report(options.subcommand, error);
        return kExitFailure;
    }
    if (!session->applyModes(options.modes, error)) {
        report(options.subcommand, error);
        session->close(error);
        return kExitFailure;
    }
    if (command.before && !command.before()) {
        session->close(error);
        return kExitFailure;
    }

    SampleStats stats;
    const LoopEnd end = runSamples(session->link(), options.modes, options.limit, command.consume, stats);

    int status = kExitOk;
    if (end == LoopEnd::ConsumerFailed) status = kExitFailure;
    if (end == LoopEnd::TrackerLost) {
        char text[120];
        std::snprintf(text, sizeof text, "no good sample for %.0f s: the tracker on %s is lost",
                      kTrackerLostSeconds, describePort(options.port).c_str());
        report(options.subcommand, text);
        status = kExitFailure;
    }
    if (!session->close(error)) {
        report(options.subcommand, error);
        status = kExitFailure;
    }
    report(options.subcommand,
           summaryText(stats) + (command.extraSummary ? command.extraSummary() : std::string()));
    return status;
}

}  // namespace vexlink_cli
