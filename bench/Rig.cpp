#include "Rig.h"

#include <korvisor/FrameCodec.h>

#include <algorithm>
#include <stdexcept>

namespace bench {

namespace {

bool clean(const korvisor::Pose& pose) {
    for (bool checksum : {false, true}) {
        const auto bytes = korvisor::encodeFrame(pose, {'F', true, checksum});
        if (std::count(bytes.begin(), bytes.end(), 0xFF) != 1) return false;  // the start byte
    }
    return true;
}

}  // namespace

korvisor::Pose benchPose() {
    for (int step = 0; step < 100; ++step) {
        const korvisor::Pose pose{12 + step, 34 + step, -5 + step};
        if (clean(pose)) return pose;
    }
    throw std::logic_error("no pose without 0xFF bytes");
}

korvisor::Simulator& Ports::tracker(int n, korvisor::Options options) {
    if (!options.fixedPose) options.fixedPose = benchPose();
    return attach(n, std::move(options));
}

korvisor::Simulator& Ports::silent(int n) {
    korvisor::Options options;
    options.faults.silent = true;
    return attach(n, std::move(options));
}

}  // namespace bench
