#include "SampleLoop.h"

#include "StopSignal.h"

#include <chrono>
#include <cstdio>
#include <optional>
#include <thread>

namespace vexlink_cli {

namespace {

using Clock = std::chrono::steady_clock;

double secondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// A failed read that came back at once is followed by this pause, so that the loop never
// spins while it waits for the tracker-lost verdict.
constexpr auto kMinFailedReadTime = std::chrono::milliseconds(10);

// The longest a wait for a frame lasts before the loop checks its limits again.
constexpr auto kStreamWaitSlice = std::chrono::milliseconds(250);

bool limitReached(const SampleLimit& limit, const SampleStats& stats, Clock::time_point start) {
    if (limit.count && stats.samples >= *limit.count) return true;
    return limit.seconds && secondsBetween(start, Clock::now()) >= *limit.seconds;
}

// Counts the sample and hands it on; the loop's end when the consumer ends it.
std::optional<LoopEnd> take(const Sample& sample, const SampleConsumer& consume,
                            SampleStats& stats) {
    ++stats.samples;
    switch (sample.verdict) {
    case Verdict::Good: ++stats.good; break;
    case Verdict::ChecksumError: ++stats.checksumErrors; break;
    case Verdict::ShortFrame: ++stats.shortFrames; break;
    case Verdict::Malformed: ++stats.malformed; break;
    }
    if (sample.verdict == Verdict::Good) {
        stats.answeredSinceGood = 0;
    } else if (sample.verdict != Verdict::ShortFrame) {
        ++stats.answeredSinceGood;
    }
    switch (consume(sample)) {
    case Consumed::Ok: return std::nullopt;
    case Consumed::Failed: return LoopEnd::ConsumerFailed;
    case Consumed::OutputClosed: return LoopEnd::OutputClosed;
    }
    return std::nullopt;
}

}  // namespace

Verdict judgeRead(int result, int bytesRead, const SampleModes& modes) {
    if (result == 1) return Verdict::Good;
    const int fullBody = vexlink::wholeBodyLength(modes.ascii, modes.checksum);
    return bytesRead < fullBody ? Verdict::ShortFrame : Verdict::ChecksumError;
}

LoopEnd runSamples(Vexlink& link, const SampleModes& modes, const SampleLimit& limit,
                   const SampleConsumer& consume, SampleStats& stats, Clock::time_point start) {
    Clock::time_point lastGood = Clock::now();
    LoopEnd end = LoopEnd::Limit;
    while (true) {
        if (stopRequested()) {
            end = LoopEnd::Stopped;
            break;
        }
        if (limitReached(limit, stats, start)) break;

        const Clock::time_point before = Clock::now();
        const int result = link.ReadFromPort();
        const Clock::time_point after = Clock::now();

        Sample sample;
        sample.seconds = secondsBetween(start, after);
        sample.verdict = judgeRead(result, link.GetBytesRead(), modes);
        // Nothing came: a device that has gone away no longer takes a settings query, which
        // tells it from a tracker that is merely silent, at once.
        if (sample.verdict == Verdict::ShortFrame && link.GetBytesRead() == 0 &&
            link.GetDCB() == 0) {
            end = LoopEnd::DeviceGone;
            break;
        }
        if (sample.verdict == Verdict::Good) {
            lastGood = after;
            link.Get_PYR(&sample.pitch, &sample.yaw, &sample.roll);
        }
        if (auto e = take(sample, consume, stats)) {
            end = *e;
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

LoopEnd runStream(vexlink::SampleStream& stream, const SampleLimit& limit,
                  const SampleConsumer& consume, SampleStats& stats, Clock::time_point start) {
    Clock::time_point lastGood = Clock::now();
    LoopEnd end = LoopEnd::Limit;
    vexlink::StreamSample frame;
    while (true) {
        if (stopRequested()) {
            end = LoopEnd::Stopped;
            break;
        }
        if (limitReached(limit, stats, start)) break;
        if (secondsBetween(lastGood, Clock::now()) >= kTrackerLostSeconds) {
            end = LoopEnd::TrackerLost;
            break;
        }
        auto slice = kStreamWaitSlice;
        if (limit.seconds) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::duration<double>(
                    *limit.seconds - secondsBetween(start, Clock::now())));
            slice = std::max(std::chrono::milliseconds(1), std::min(slice, left));
        }
        const vexlink::StreamResult r = stream.Next(frame, slice);
        if (r == vexlink::StreamResult::DeviceGone || r == vexlink::StreamResult::NotStreaming) {
            end = LoopEnd::DeviceGone;
            break;
        }
        if (r != vexlink::StreamResult::Sample) continue;  // timed out or a signal: check above

        Sample sample;
        sample.seconds = secondsBetween(start, frame.arrival);
        switch (frame.verdict) {
        case vexlink::FrameVerdict::Good: sample.verdict = Verdict::Good; break;
        case vexlink::FrameVerdict::ChecksumError: sample.verdict = Verdict::ChecksumError; break;
        case vexlink::FrameVerdict::Malformed: sample.verdict = Verdict::Malformed; break;
        }
        if (sample.verdict == Verdict::Good) {
            lastGood = frame.arrival;
            sample.pitch = frame.pitch;
            sample.yaw = frame.yaw;
            sample.roll = frame.roll;
        }
        if (auto e = take(sample, consume, stats)) {
            end = *e;
            break;
        }
    }
    stats.seconds = secondsBetween(start, Clock::now());
    return end;
}

std::string summaryText(const SampleStats& stats) {
    const long failures = stats.checksumErrors + stats.shortFrames + stats.malformed;
    const double rate = stats.seconds > 0 ? static_cast<double>(stats.samples) / stats.seconds : 0;
    char text[240];
    char malformed[40] = "";
    if (stats.malformed > 0) {
        std::snprintf(malformed, sizeof malformed, ", %ld malformed", stats.malformed);
    }
    std::snprintf(text, sizeof text,
                  "%ld sample%s, %ld failure%s (%ld checksum error%s, %ld short frame%s%s), "
                  "%.1f samples/s over %.2f s",
                  stats.samples, stats.samples == 1 ? "" : "s", failures, failures == 1 ? "" : "s",
                  stats.checksumErrors, stats.checksumErrors == 1 ? "" : "s", stats.shortFrames,
                  stats.shortFrames == 1 ? "" : "s", malformed, rate, stats.seconds);
    return text;
}

}  // namespace vexlink_cli
