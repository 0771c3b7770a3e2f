// The tracker's command interpreter: what each understood command byte does to the
// tracker's settings and what it draws in answer. No input or output of its own.
#pragma once

#include <korvisor/FrameCodec.h>
#include <korvisor/Simulator.h>

#include <cstdint>

namespace korvisor {

inline constexpr int kDefaultRate = 40;
inline constexpr std::uint8_t kRateByteFirst = 0x80;  // 5 samples per second
inline constexpr std::uint8_t kRateByteLast = 0x8E;   // 75 samples per second

// What a command draws from the tracker.
enum class Answer { None, Identification, Version, Frame };

class TrackerEngine {
public:
    explicit TrackerEngine(int powerOnSpeed);

    // Back to the power-on settings (the reset count is kept).
    void powerOn();
    // Acts on one byte that arrived at the tracker's own speed.
    Answer receive(std::uint8_t byte);

    const TrackerState& state() const { return state_; }
    bool streaming() const { return state_.transMode == 'H'; }
    FrameFormat frameFormat() const;

private:
    int powerOnSpeed_;
    TrackerState state_{};
};

// The line speed a switch command byte asks for, or 0 for any other byte.
int switchTarget(std::uint8_t byte);

}  // namespace korvisor
