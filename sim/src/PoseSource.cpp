#include "PoseSource.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace korvisor {

Pose movingPose(double t) {
    constexpr double kTwoPi = 2 * std::numbers::pi;
    Pose p;
    p.yaw = static_cast<int>(std::fmod(t * 36.0, 360.0));
    p.pitch = static_cast<int>(std::lround(40.0 * std::sin(kTwoPi * t / 8.0)));
    p.roll = static_cast<int>(std::lround(25.0 * std::sin(kTwoPi * t / 6.0)));
    return p;
}

PoseSource::PoseSource(std::optional<Pose> fixed, Clock::time_point origin)
    : fixed_(fixed), origin_(origin) {}

Pose PoseSource::raw(Clock::time_point now) const {
    if (fixed_) return *fixed_;
    return movingPose(std::chrono::duration<double>(now - origin_).count());
}

Pose PoseSource::peek(Clock::time_point now, bool hysteresis) const {
    const Pose p = raw(now);
    if (!hysteresis || !held_) return p;
    auto filter = [](int held, int value) {
        return std::abs(value - held) < kHysteresisDegrees ? held : value;
    };
    return Pose{filter(held_->pitch, p.pitch), filter(held_->yaw, p.yaw),
                filter(held_->roll, p.roll)};
}

Pose PoseSource::next(Clock::time_point now, bool hysteresis) {
    const Pose p = peek(now, hysteresis);
    held_ = p;
    return p;
}

}  // namespace korvisor
