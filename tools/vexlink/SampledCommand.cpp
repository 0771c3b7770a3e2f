#include "SampledCommand.h"

#include "Report.h"
#include "StopSignal.h"
#include "TrackerSession.h"

#include <chrono>
#include <cstdio>
#include <thread>

namespace vexlink_cli {

namespace {

using Clock = std::chrono::steady_clock;

// How often stream tries the port again while its tracker is away.
constexpr auto kReconnectInterval = std::chrono::milliseconds(500);

std::string lostText(const SampleStats& stats, const std::string& port) {
    char text[200];
    if (stats.answeredSinceGood > 0) {
        std::snprintf(
            text, sizeof text,
            "no good sample for %.0f s: the tracker on %s sends frames, but none was whole "
            "with a matching checksum",
            kTrackerLostSeconds, describePort(port).c_str());
    } else {
        std::snprintf(text, sizeof text, "no good sample for %.0f s: the tracker on %s is lost",
                      kTrackerLostSeconds, describePort(port).c_str());
    }
    return text;
}

// Opens the port, identifies the tracker and sets its modes; null with a reason on failure.
std::unique_ptr<TrackerSession> openSession(const Options& options, std::string& error) {
    std::unique_ptr<TrackerSession> session = TrackerSession::open(options.port, error);
    if (!session) return nullptr;
    if (!session->applyModes(options.modes, error)) {
        std::string ignored;
        session->close(ignored);
        return nullptr;
    }
    return session;
}

bool limitReached(const SampleLimit& limit, const SampleStats& stats, Clock::time_point start) {
    if (limit.count && stats.samples >= *limit.count) return true;
    return limit.seconds &&
           std::chrono::duration<double>(Clock::now() - start).count() >= *limit.seconds;
}

// Tries the port every kReconnectInterval until the tracker answers again, a stop is requested
// or a limit is reached.
std::unique_ptr<TrackerSession> reconnect(const Options& options, const SampleStats& stats,
                                          Clock::time_point start) {
    for (;;) {
        const auto next = Clock::now() + kReconnectInterval;
        while (Clock::now() < next) {
            if (stopRequested() || limitReached(options.limit, stats, start)) return nullptr;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        std::string error;
        if (auto session = openSession(options, error)) return session;
    }
}

}  // namespace

int runSampledCommand(const Options& options, const SampledCommand& command) {
    std::string error;
    std::unique_ptr<TrackerSession> session = openSession(options, error);
    if (!session) {
        report(options.subcommand, error);
        return kExitFailure;
    }
    if (command.before && !command.before()) {
        session->close(error);
        return kExitFailure;
    }

    SampleStats stats;
    const Clock::time_point start = Clock::now();
    const bool mayReconnect = options.subcommand == Subcommand::Stream && options.reconnect;
    int status = kExitOk;
    LoopEnd end;
    for (;;) {
        end = session->stream() != nullptr
                  ? runStream(*session->stream(), options.limit, command.consume, stats, start)
                  : runSamples(session->link(), options.modes, options.limit, command.consume,
                               stats, start);
        const bool away = end == LoopEnd::DeviceGone || end == LoopEnd::TrackerLost;
        if (!away || !mayReconnect) break;
        report(options.subcommand,
               (end == LoopEnd::DeviceGone
                    ? "the device " + describePort(options.port) + " has gone away"
                    : lostText(stats, options.port)) +
                   "; trying it again every half second");
        session->close(error);
        session = reconnect(options, stats, start);
        if (!session) {
            end = stopRequested() ? LoopEnd::Stopped : LoopEnd::Limit;
            break;
        }
        stats.answeredSinceGood = 0;
        report(options.subcommand,
               "the tracker on " + describePort(options.port) + " answers again");
    }

    if (end == LoopEnd::ConsumerFailed) status = kExitFailure;
    if (end == LoopEnd::TrackerLost) {
        report(options.subcommand, lostText(stats, options.port));
        status = kExitFailure;
    }
    if (end == LoopEnd::DeviceGone) {
        report(options.subcommand, "the device " + describePort(options.port) + " has gone away");
        status = kExitFailure;
    }
    // Samples were taken and none was good: the command did not do its job.
    if (status == kExitOk && end != LoopEnd::Stopped && end != LoopEnd::OutputClosed &&
        stats.samples > 0 && stats.good == 0) {
        status = kExitFailure;
    }
    if (session && !session->close(error) && end != LoopEnd::DeviceGone) {
        report(options.subcommand, error);
        status = kExitFailure;
    }
    report(options.subcommand,
           summaryText(stats) + (command.extraSummary ? command.extraSummary() : std::string()));
    if (status == kExitOk && command.succeeded && !command.succeeded()) status = kExitFailure;
    return status;
}

}  // namespace vexlink_cli
