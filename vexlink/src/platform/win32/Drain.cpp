// Waiting, bounded, for a port's output to leave it.
#include "platform/win32/OpenPorts.h"

#include <algorithm>

namespace vexlink::platform {

bool waitUntilSent(win32::SystemHandle device, Clock::time_point deadline) {
    using namespace std::chrono;
    win32::LineState line;
    const std::uint32_t bps = win32::getLine(device, line) ? line.baudRate : 0;
    // One byte is 10 bit times (start, 8 data, stop) at the line's speed.
    const auto byteTime = bps > 0 ? microseconds(10'000'000 / bps) : milliseconds(1);
    bool queued = false;
    for (std::uint32_t n; (n = win32::outputQueued(device)) > 0;) {
        queued = true;
        const auto now = Clock::now();
        if (now >= deadline) return false;
        SleepUntil(
            std::min(deadline, now + std::max<Clock::duration>(byteTime * n, microseconds(200))));
    }
    if (queued) SleepUntil(std::min(deadline, Clock::now() + byteTime));
    return true;
}

}  // namespace vexlink::platform
