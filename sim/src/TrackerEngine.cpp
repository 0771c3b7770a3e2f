#include "TrackerEngine.h"

namespace korvisor {

int switchTarget(std::uint8_t byte) {
    if (byte == 'K') return 19200;
    if (byte == 'L') return 9600;
    return 0;
}

TrackerEngine::TrackerEngine(int powerOnSpeed) : powerOnSpeed_(powerOnSpeed) { powerOn(); }

void TrackerEngine::powerOn() {
    const int resets = state_.resets;
    state_ = TrackerState{powerOnSpeed_, 'F', 'G', false, false, kDefaultRate, resets};
}

FrameFormat TrackerEngine::frameFormat() const {
    return FrameFormat{state_.dataMode, streaming(), state_.checksum};
}

Answer TrackerEngine::receive(std::uint8_t byte) {
    if (byte >= kRateByteFirst && byte <= kRateByteLast) {
        state_.rate = 5 * (byte - (kRateByteFirst - 1));
        return Answer::None;
    }
    switch (byte) {
    case 'E':
    case 'F': state_.dataMode = static_cast<char>(byte); break;
    case 'G':
    case 'H': state_.transMode = static_cast<char>(byte); break;
    case 'K':
    case 'L': state_.speed = switchTarget(byte); break;
    case 'M': state_.checksum = true; break;
    case 'N': state_.checksum = false; break;
    case 'O': state_.hysteresis = false; break;
    case 'P': state_.hysteresis = true; break;
    case 'R':
        ++state_.resets;
        powerOn();
        break;
    case 'S': return Answer::Frame;
    case 'V': return Answer::Version;
    case 'X': return Answer::Identification;
    default: break;
    }
    return Answer::None;
}

}  // namespace korvisor
