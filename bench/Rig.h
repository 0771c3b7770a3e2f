// The benchmark's serial ports: COM1..COM4 pointed (through VEXLINK_COMn) at simulated
// trackers on pseudo-terminals, at silent devices, or at paths that do not exist.
#pragma once

#include <korvisor/Simulator.h>

#include <array>
#include <memory>
#include <string>

namespace bench {

// A fixed pose whose binary frames hold no 0xFF byte, so that a read that synchronises on
// the stream can only ever find a frame's real start; every good sample decodes to it.
korvisor::Pose benchPose();

class Ports {
public:
    Ports();
    ~Ports();
    Ports(const Ports&) = delete;
    Ports& operator=(const Ports&) = delete;

    korvisor::Simulator& tracker(int n, korvisor::Options options = {});
    korvisor::Simulator& silent(int n);
    void missing(int n);

private:
    korvisor::Simulator& attach(int n, korvisor::Options options);
    std::array<std::unique_ptr<korvisor::Simulator>, 4> sims_;
};

}  // namespace bench
