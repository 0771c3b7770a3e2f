// Where the tracker's pose comes from: a fixed pose, or a head that moves smoothly and
// deterministically with time (yaw sweeping 0..359 every 10 s, pitch and roll swinging),
// seen through the hysteresis filter when it is on.
#pragma once

#include <korvisor/Pose.h>
#include <korvisor/Simulator.h>

#include <optional>

namespace korvisor {

inline constexpr int kHysteresisDegrees = 2;  // changes smaller than this are held back

// The moving head, seconds after the simulator started.
Pose movingPose(double seconds);

class PoseSource {
public:
    PoseSource(std::optional<Pose> fixed, Clock::time_point origin);

    void setFixed(Pose pose) { fixed_ = pose; }
    void setMoving() { fixed_.reset(); }
    void restartFilter() { held_.reset(); }
    // Time counts from origin on, with the filter restarted.
    void restart(Clock::time_point origin) {
        origin_ = origin;
        held_.reset();
    }

    // The pose a frame built now would carry; next() also commits it as the filter's state.
    Pose peek(Clock::time_point now, bool hysteresis) const;
    Pose next(Clock::time_point now, bool hysteresis);

private:
    Pose raw(Clock::time_point now) const;

    std::optional<Pose> fixed_;
    Clock::time_point origin_;
    std::optional<Pose> held_;  // the last pose sent, for the filter
};

}  // namespace korvisor
