#include "Floors.h"

#include <algorithm>

#include "LinkTiming.h"

namespace bench::floors {

double openSilent() { return kAfterModeMs + kAfterIdentifyMs + readLimitMs(kIdReplyLength); }

double openTracker(int bps) {
    return kAfterModeMs + std::max(kAfterIdentifyMs, kIdReplyLength * byteMs(bps));
}

double autoDetect(int silentBefore, int bps) {
    return silentBefore * openSilent() + openTracker(bps);
}

double version(int length, int bps) {
    if (length <= 0) return readLimitMs(kVersionMax);
    const double tail = length < kVersionMax ? kIntervalMs : 0;
    return std::min(readLimitMs(kVersionMax), length * byteMs(bps) + tail);
}

double hardReset() { return kResetGapMs; }

double request(bool ascii, bool checksum, int bps) {
    const double bt = byteMs(bps);
    if (!ascii) return std::max(kAfterRequestMs, (kBinaryBody + (checksum ? 1 : 0)) * bt);
    // The 'Y' is taken once the pause after 'S' is over; the body read starts 15 ms later
    // and ends when the frame's last byte is in.
    const double bodyStart = std::max(kAfterRequestMs, bt) + kAfterAsciiStartMs;
    return std::max(bodyStart, kAsciiFrame * bt);
}

}  // namespace bench::floors
