// Monotonic time for the library's pauses, time-outs and bounds.
#pragma once

#include <chrono>

namespace vexlink::platform {

using Clock = std::chrono::steady_clock;  // CLOCK_MONOTONIC, nanosecond resolution

// Sleeps until the given instant of the monotonic clock (absolute, so no drift accumulates).
void SleepUntil(Clock::time_point deadline);

}  // namespace vexlink::platform
