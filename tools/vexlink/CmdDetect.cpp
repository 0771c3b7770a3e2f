#include "Commands.h"
#include "Report.h"
#include "TrackerSession.h"

#include <cstdio>

namespace vexlink_cli {

int runDetect(const Options& options) {
    const int messagesBefore = libraryMessageCount();
    std::unique_ptr<TrackerSession> session = TrackerSession::detect();
    if (!session) {
        // The library reports the scan's failure itself; add a reason only if it did not.
        if (libraryMessageCount() == messagesBefore) {
            report(options.subcommand, "no tracker answered on COM1 to COM4");
        }
        return kExitFailure;
    }
    const char* version = session->link().Get_Version();
    std::string error;
    if (version == nullptr) {
        report(options.subcommand, "the version request to " + session->port() + " failed");
        session->close(error);
        return kExitFailure;
    }
    std::printf("%s version %s\n", session->port().c_str(), escapedText(version).c_str());
    if (!session->close(error)) {
        report(options.subcommand, error);
        return kExitFailure;
    }
    return std::fflush(stdout) == 0 ? kExitOk : kExitFailure;
}

}  // namespace vexlink_cli
