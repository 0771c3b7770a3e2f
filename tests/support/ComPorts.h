// COM1..COM4 for a host program's tests and benchmarks: each port variable (VEXLINK_COMn)
// names a simulated tracker, another device, or a path that does not exist, never the
// machine's own serial ports; and the wait for commands to reach a simulator.
#pragma once

#include <korvisor/Simulator.h>

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace testsupport {

class ComPorts {
public:
    // Points every COMn at missingPrefix followed by n; the destructor stops the simulators
    // and gives the variables back the values they had before.
    explicit ComPorts(std::string missingPrefix);
    ~ComPorts();
    ComPorts(const ComPorts&) = delete;
    ComPorts& operator=(const ComPorts&) = delete;

    // Starts a simulator with options on COMn, in place of whatever was there.
    korvisor::Simulator& attach(int n, korvisor::Options options);
    // Makes COMn name path.
    void point(int n, const std::string& path);
    // Makes COMn name a path that does not exist.
    void missing(int n);
    // Leaves COMn unset.
    void unset(int n);

private:
    std::string missingPrefix_;
    std::array<std::unique_ptr<korvisor::Simulator>, 4> sims_;
    std::array<std::optional<std::string>, 4> saved_;
};

// Runs send, which writes `bytes` command bytes to sim, and waits (up to timeout) until the
// simulator has taken them, so that what follows finds the tracker already in its new mode.
void settled(korvisor::Simulator& sim, int bytes, const std::function<void()>& send,
             std::chrono::milliseconds timeout);

}  // namespace testsupport
