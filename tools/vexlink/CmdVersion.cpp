#include "Commands.h"
#include "Report.h"
#include "TrackerSession.h"

#include <cstdio>

namespace vexlink_cli {

int runVersion(const Options& options) {
    std::string error;
    std::unique_ptr<TrackerSession> session = TrackerSession::open(options.port, error);
    if (!session) {
        report(options.subcommand, error);
        return kExitFailure;
    }
    const char* version = session->link().Get_Version();
    if (version == nullptr) {
        report(options.subcommand,
               "the version request to " + describePort(options.port) + " failed");
        session->close(error);
        return kExitFailure;
    }
    std::printf("%s\n", escapedText(version).c_str());
    if (!session->close(error)) {
        report(options.subcommand, error);
        return kExitFailure;
    }
    return std::fflush(stdout) == 0 ? kExitOk : kExitFailure;
}

}  // namespace vexlink_cli
