#include "Commands.h"
#include "PoseMapping.h"
#include "Report.h"
#include "SampledCommand.h"
#include "UdpPoseSender.h"

namespace vexlink_cli {

int runStream(const Options& options) {
    std::string error;
    std::unique_ptr<UdpPoseSender> sender = UdpPoseSender::open(options.udp, error);
    if (!sender) {
        report(options.subcommand, error);
        return kExitFailure;
    }

    long sent = 0;
    long notSent = 0;
    SampledCommand command;
    command.consume = [&](const Sample& sample) {
        if (sample.verdict != Verdict::Good) return Consumed::Ok;
        const PoseDatagram datagram =
            encodePose(toSignedDegrees(sample.yaw), toSignedDegrees(sample.pitch),
                       toSignedDegrees(sample.roll));
        if (sender->send(datagram)) {
            ++sent;
        } else if (notSent++ == 0) {
            // Reported once; a listener that is slow or gone must not end the stream.
            report(options.subcommand, "a datagram to " + sender->destination() +
                                           " was not sent: " + sender->lastError());
        }
        return Consumed::Ok;
    };
    // Samples were good but not one datagram went out (a broadcast address without permission,
    // an unreachable network): the stream did nothing for its listener.
    command.succeeded = [&] { return sent > 0 || notSent == 0; };
    command.extraSummary = [&] {
        std::string text = ", " + std::to_string(sent) + " datagram" + (sent == 1 ? "" : "s") +
                           " sent to " + sender->destination();
        if (notSent > 0) text += ", " + std::to_string(notSent) + " not sent";
        return text;
    };
    return runSampledCommand(options, command);
}

}  // namespace vexlink_cli
