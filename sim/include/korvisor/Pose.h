// An orientation in the tracker's whole degrees.
#pragma once

namespace korvisor {

struct Pose {
    int pitch = 0;  // whole degrees, -90..269
    int yaw = 0;    // whole degrees, 0..719
    int roll = 0;   // whole degrees, -90..269

    friend bool operator==(const Pose&, const Pose&) = default;
};

}  // namespace korvisor
