// Pauses on the monotonic clock.
#include "platform/Clock.h"
#include "platform/CommApi.h"
#include "platform/win32/System.h"

namespace vexlink::platform {

void SleepUntil(Clock::time_point deadline) {
    // A timer may wake a little early: sleep again for what is left.
    for (;;) {
        const auto left = deadline - Clock::now();
        if (left <= Clock::duration::zero()) return;
        win32::sleepFor(std::chrono::duration_cast<std::chrono::nanoseconds>(left));
    }
}

void Sleep(DWORD ms) { SleepUntil(Clock::now() + std::chrono::milliseconds(ms)); }

}  // namespace vexlink::platform
