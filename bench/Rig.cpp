#include "Rig.h"

#include <korvisor/FrameCodec.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace bench {

namespace {

std::string envName(int n) { return "VEXLINK_COM" + std::to_string(n); }

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

Ports::Ports() {
    for (int n = 1; n <= 4; ++n) missing(n);
}

Ports::~Ports() {
    for (int n = 1; n <= 4; ++n) unsetenv(envName(n).c_str());
}

korvisor::Simulator& Ports::attach(int n, korvisor::Options options) {
    auto& slot = sims_.at(static_cast<std::size_t>(n - 1));
    slot.reset();
    slot = std::make_unique<korvisor::Simulator>(std::move(options));
    slot->start();
    setenv(envName(n).c_str(), slot->devicePath().c_str(), 1);
    return *slot;
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

void Ports::missing(int n) {
    sims_.at(static_cast<std::size_t>(n - 1)).reset();
    setenv(envName(n).c_str(), ("/nonexistent/vexlink-bench/COM" + std::to_string(n)).c_str(), 1);
}

}  // namespace bench
