// The sampling loop shared by read and stream: one ReadFromPort per sample, each judged good,
// checksum error or short frame, until the count or time is reached, a stop is requested, the
// consumer of the samples fails, or the tracker has been lost.
#pragma once

#include "Options.h"
#include "SampleFormat.h"

#include <vexlink/Vexlink.h>

#include <functional>

namespace vexlink_cli {

// With no good sample for this long the tracker counts as lost.
inline constexpr double kTrackerLostSeconds = 3.0;

struct SampleStats {
    long samples = 0;
    long good = 0;
    long checksumErrors = 0;
    long shortFrames = 0;
    double seconds = 0;  // from the first request to the end of the last sample
};

enum class LoopEnd { Limit, Stopped, ConsumerFailed, TrackerLost };

// Takes the sample; false ends the loop (LoopEnd::ConsumerFailed).
using SampleConsumer = std::function<bool(const Sample&)>;

// The verdict on a ReadFromPort result, from the count that it leaves in GetBytesRead.
Verdict judgeRead(int result, int bytesRead, const SampleModes& modes);

LoopEnd runSamples(Vexlink& link, const SampleModes& modes, const SampleLimit& limit,
                   const SampleConsumer& consume, SampleStats& stats);

// "120 samples, 2 failures (1 checksum error, 1 short frame), 39.9 samples/s over 3.01 s"
std::string summaryText(const SampleStats& stats);

}  // namespace vexlink_cli
