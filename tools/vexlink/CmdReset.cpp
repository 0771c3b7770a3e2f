#include "Commands.h"
#include "Report.h"
#include "TrackerSession.h"

#include <cstdio>

namespace vexlink_cli {

int runReset(const Options& options) {
    std::string error;
    std::unique_ptr<TrackerSession> session = TrackerSession::open(options.port, error);
    if (!session) {
        report(options.subcommand, error);
        return kExitFailure;
    }
    session->link().HardReset();  // always reports success; only a failed close tells
    if (!session->close(error)) {
        report(options.subcommand, error);
        return kExitFailure;
    }
    std::printf("%s: reset\n", options.port.c_str());
    return std::fflush(stdout) == 0 ? kExitOk : kExitFailure;
}

}  // namespace vexlink_cli
