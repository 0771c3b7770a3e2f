// Pauses on the monotonic clock.
#include "platform/Clock.h"
#include "platform/CommApi.h"

#include <cerrno>
#include <time.h>

namespace vexlink::platform {

void SleepUntil(Clock::time_point deadline) {
    using namespace std::chrono;
    // steady_clock is CLOCK_MONOTONIC; an absolute deadline survives interruptions unchanged.
    const auto ns = duration_cast<nanoseconds>(deadline.time_since_epoch()).count();
    if (ns <= 0) return;
    const timespec at{static_cast<time_t>(ns / 1'000'000'000),
                      static_cast<long>(ns % 1'000'000'000)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) == EINTR) {}
}

void Sleep(DWORD ms) { SleepUntil(Clock::now() + std::chrono::milliseconds(ms)); }

}  // namespace vexlink::platform
