// The console's recent reads, for the live plot: when each read happened, whether it gave a
// sample, and the sample's pitch, yaw and roll. Keeps the plot's span of time before the latest
// read, and tells the rate of samples reached.
#pragma once

#include <chrono>
#include <deque>

namespace gyrodesk {

using PlotClock = std::chrono::steady_clock;

struct Reading {
    PlotClock::time_point time;
    bool good = false;                 // false: the read failed (no whole frame, or a bad checksum)
    int pitch = 0, yaw = 0, roll = 0;  // whole degrees as read; set only when good
};

class SampleHistory {
public:
    // The time the plot shows, ending at the latest read.
    static constexpr std::chrono::seconds kSpan{10};
    // The time over which the rate reached is measured.
    static constexpr std::chrono::seconds kRateWindow{2};

    void Record(const Reading& reading);
    void Clear() { readings_.clear(); }

    // Oldest first: every read of the span before the latest one, and the newest read from
    // before the span (so that a line can enter the plot from its left edge).
    const std::deque<Reading>& Readings() const { return readings_; }
    bool Empty() const { return readings_.empty(); }
    PlotClock::time_point Latest() const { return readings_.back().time; }
    // The latest read that gave a sample, or null.
    const Reading* LatestGood() const;
    // Samples per second over the last kRateWindow before the latest read (from the first to
    // the last good read in it); 0 with fewer than two samples there.
    double RateReached() const;

private:
    std::deque<Reading> readings_;
};

// Yaw runs over two turns (0..719); the plot folds it to one (0..359).
inline int FoldYaw(int yaw) { return ((yaw % 360) + 360) % 360; }

}  // namespace gyrodesk
