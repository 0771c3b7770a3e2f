#include "Commands.h"
#include "Report.h"
#include "SampledCommand.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vexlink_cli {

namespace {

// Writes text to standard output at once, so that a log file or pipe sees every sample as it
// comes. A closed pipe (`vexlink read | head`) is a normal end; other write errors are reported.
Consumed writeOut(Subcommand subcommand, const std::string& text) {
    if (std::fwrite(text.data(), 1, text.size(), stdout) == text.size() &&
        std::fflush(stdout) == 0) {
        return Consumed::Ok;
    }
    if (errno == EPIPE) return Consumed::OutputClosed;
    report(subcommand, std::string("cannot write the output: ") + std::strerror(errno));
    return Consumed::Failed;
}

}  // namespace

int runRead(const Options& options) {
    SampledCommand command;
    command.before = [&] {
        const std::string header = formatHeader(options.format);
        return header.empty() || writeOut(options.subcommand, header) != Consumed::Failed;
    };
    command.consume = [&](const Sample& sample) {
        return writeOut(options.subcommand, formatSample(options.format, sample));
    };
    return runSampledCommand(options, command);
}

}  // namespace vexlink_cli
