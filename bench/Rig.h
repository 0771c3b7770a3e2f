// The benchmark's serial ports: COM1..COM4 pointed (through VEXLINK_COMn) at simulated
// trackers on pseudo-terminals, at silent devices, or at paths that do not exist.
#pragma once

#include "ComPorts.h"

namespace bench {

// A fixed pose whose binary frames hold no 0xFF byte, so that a read that synchronises on
// the stream can only ever find a frame's real start; every good sample decodes to it.
korvisor::Pose benchPose();

class Ports : public testsupport::ComPorts {
public:
    Ports() : ComPorts("/nonexistent/vexlink-bench/COM") {}

    // A tracker that sends benchPose() unless options fix another pose.
    korvisor::Simulator& tracker(int n, korvisor::Options options = {});
    korvisor::Simulator& silent(int n);
};

}  // namespace bench
