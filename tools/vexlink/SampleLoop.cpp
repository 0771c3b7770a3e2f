#include "SampleLoop.h"

#include "StopSignal.h"

#include <chrono>
#include <cstdio>
#include <thread>

namespace vexlink_cli {

namespace {

using Clock = std::chrono::steady_clock;

double secondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// A failed read that came back at once (a device that has gone away) is followed by this
// pause, so that the loop never spins while it waits for the tracker-lost verdict.
constexpr auto kMinFailedReadTime = std::chrono::milliseconds(10);

}  // namespace

Verdict judgeRead(int result, int bytesRead, const SampleModes& modes) {
    if (result == 1) return Verdict::Good;
    const int fullBody = modes.ascii ? 19 : (modes.checksum ? 7 : 6);
    return bytesRead < fullBody ? Verdict::ShortFrame : Verdict::ChecksumError;
}

LoopEnd runSamples(Vexlink& link, const SampleModes& modes, const SampleLimit& limit,
                   const SampleConsumer& consume, SampleStats& stats) {
    const Clock::time_point start = Clock::now();
    Clock::time_point lastGood = start;
    LoopEnd end = LoopEnd::Limit;
    while (true) {
        if (stopRequested()) {
            end = LoopEnd::Stopped;
            break;
        }
        if (limit.count && stats.samples >= *limit.count) break;
        if (limit.seconds && secondsBetween(start, Clock::now()) >= *limit.seconds) break;

        const Clock::time_point before = Clock::now();
        const int result = link.ReadFromPort();
        const Clock::time_point after = Clock::now();

        Sample sample;
        sample.seconds = secondsBetween(start, after);
        sample.verdict = judgeRead(result, link.GetBytesRead(), modes);
        ++stats.samples;
        switch (sample.verdict) {
        case Verdict::Good:
            ++stats.good;
            lastGood = after;
            link.Get_PYR(&sample.pitch, &sample.yaw, &sample.roll);
            break;
        case Verdict::ChecksumError: ++stats.checksumErrors; break;
        case Verdict::ShortFrame: ++stats.shortFrames; break;
        }

        if (!consume(sample)) {
            end = LoopEnd::ConsumerFailed;
            break;
        }
        if (sample.verdict != Verdict::Good) {
            if (secondsBetween(lastGood, after) >= kTrackerLostSeconds) {
                end = LoopEnd::TrackerLost;
                break;
            }
            if (after - before < kMinFailedReadTime) {
                std::this_thread::sleep_until(before + kMinFailedReadTime);
            }
        }
    }
    stats.seconds = secondsBetween(start, Clock::now());
    return end;
}

std::string summaryText(const SampleStats& stats) {
    const long failures = stats.checksumErrors + stats.shortFrames;
    const double rate = stats.seconds > 0 ? static_cast<double>(stats.samples) / stats.seconds : 0;
    char text[200];
    std::snprintf(text, sizeof text,
                  "%ld sample%s, %ld failure%s (%ld checksum error%s, %ld short frame%s), "
                  "%.1f samples/s over %.2f s",
                  stats.samples, stats.samples == 1 ? "" : "s", failures, failures == 1 ? "" : "s",
                  stats.checksumErrors, stats.checksumErrors == 1 ? "" : "s", stats.shortFrames,
                  stats.shortFrames == 1 ? "" : "s", rate, stats.seconds);
    return text;
}

}  // namespace vexlink_cli
