// Waiting, bounded, for a port's output to leave it.
#include "platform/win32/WinPort.h"

#include <algorithm>

namespace vexlink::platform {

bool waitUntilSent(::HANDLE device, Clock::time_point deadline) {
    using namespace std::chrono;
    ::DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    const DWORD bps = ::GetCommState(device, &dcb) && dcb.BaudRate > 0 ? dcb.BaudRate : 0;
    // One byte is 10 bit times (start, 8 data, stop) at the line's speed.
    const auto byteTime = bps > 0 ? microseconds(10'000'000 / bps) : milliseconds(1);
    bool queued = false;
    for (;;) {
        DWORD errors = 0;
        ::COMSTAT status{};
        if (!::ClearCommError(device, &errors, &status) || status.cbOutQue == 0) break;
        queued = true;
        const auto now = Clock::now();
        if (now >= deadline) return false;
        SleepUntil(std::min(deadline, now + std::max<Clock::duration>(byteTime * status.cbOutQue, microseconds(200))));
    }
    // The driver counts bytes it has not yet handed to the transmitter; the last one may still
    // be on its way out.
    if (queued) SleepUntil(std::min(deadline, Clock::now() + byteTime));
    return true;
}

}  // namespace vexlink::platform
