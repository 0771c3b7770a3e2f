// The sampling loop shared by read and stream: one ReadFromPort per sample, each judged good,
// checksum error or short frame, until the count or time is reached, a stop is requested, the
// consumer of the samples fails, or the tracker has been lost.
#pragma once

#include "Options.h"
#include "SampleFormat.h"

#include <vexlink/SampleStream.h>
#include <vexlink/Vexlink.h>

#include <chrono>

#include <functional>

namespace vexlink_cli {

// With no good sample for this long the tracker counts as lost.
inline constexpr double kTrackerLostSeconds = 3.0;

struct SampleStats {
    long samples = 0;
    long good = 0;
    long checksumErrors = 0;
    long shortFrames = 0;
    long malformed = 0;          // continuous: frames that did not come whole
    long answeredSinceGood = 0;  // frames that came (checksum error, malformed) since the last good
    double seconds = 0;          // from the first request to the end of the last sample
};

enum class LoopEnd {
    Limit,
    Stopped,  // a signal asked to stop
    ConsumerFailed,
    OutputClosed,  // the consumer's output was closed (a pipe whose reader ended): a normal end
    TrackerLost,   // no good sample for kTrackerLostSeconds
    DeviceGone,    // the port's device went away
};

enum class Consumed { Ok, Failed, OutputClosed };
// Takes the sample; anything but Ok ends the loop.
using SampleConsumer = std::function<Consumed(const Sample&)>;

// The verdict on a ReadFromPort result, from the count that it leaves in GetBytesRead.
Verdict judgeRead(int result, int bytesRead, const SampleModes& modes);

// Upon request: one ReadFromPort per sample. start is when sampling began (for the limits
// and the sample times); it carries over a reconnection.
LoopEnd runSamples(Vexlink& link, const SampleModes& modes, const SampleLimit& limit,
                   const SampleConsumer& consume, SampleStats& stats,
                   std::chrono::steady_clock::time_point start);
// Continuous: the frames of the streaming reader, each as soon as it is complete.
LoopEnd runStream(vexlink::SampleStream& stream, const SampleLimit& limit,
                  const SampleConsumer& consume, SampleStats& stats,
                  std::chrono::steady_clock::time_point start);

// "120 samples, 2 failures (1 checksum error, 1 short frame), 39.9 samples/s over 3.01 s"
std::string summaryText(const SampleStats& stats);

}  // namespace vexlink_cli
