// vexlink: the Korvisor tracker from the command line.
#include "Commands.h"
#include "Options.h"
#include "Report.h"
#include "StopSignal.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace vexlink_cli;
    const std::vector<std::string> args(argv + 1, argv + argc);
    const ParseResult parsed = parseCommandLine(args);
    if (const ShowHelp* help = std::get_if<ShowHelp>(&parsed)) {
        std::fputs(help->text.c_str(), stdout);
        return std::fflush(stdout) == 0 ? kExitOk : kExitFailure;
    }
    if (const UsageError* usage = std::get_if<UsageError>(&parsed)) {
        if (usage->subcommand) {
            std::fprintf(stderr, "vexlink %s: %s\n", subcommandName(*usage->subcommand),
                         usage->message.c_str());
        } else {
            std::fprintf(stderr, "vexlink: %s\n", usage->message.c_str());
        }
        return kExitUsage;
    }
    const Options& options = std::get<Options>(parsed);

    installStopHandlers();
    installLibraryMessages();
    switch (options.subcommand) {
    case Subcommand::Detect: return runDetect(options);
    case Subcommand::Version: return runVersion(options);
    case Subcommand::Read: return runRead(options);
    case Subcommand::Stream: return runStream(options);
    case Subcommand::Reset: return runReset(options);
    case Subcommand::Ports: return runPorts(options);
    }
    return kExitFailure;
}
