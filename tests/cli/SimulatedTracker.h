// A simulated tracker for the program's end-to-end tests: started on a pseudo-terminal with a
// fixed pose and made known to the program as COM2.
#pragma once

#include "CliProcess.h"

#include <korvisor/Simulator.h>

#include <algorithm>
#include <chrono>
#include <regex>
#include <string>
#include <thread>
#include <vector>

namespace cli_test {

// Pitch and yaw in the upper halves of their ranges, so that the output shows them unwrapped
// and the pose datagrams show the mapping at work.
inline constexpr korvisor::Pose kTestPose{200, 451, -45};

inline korvisor::Options trackerOptions(korvisor::Faults faults = {}) {
    korvisor::Options options;
    options.version = "7.5a";
    options.fixedPose = kTestPose;
    options.faults = std::move(faults);
    return options;
}

class SimulatedTracker {
public:
    explicit SimulatedTracker(korvisor::Options options = trackerOptions())
        : sim_(std::move(options)) {
        sim_.start();
    }
    korvisor::Simulator& sim() { return sim_; }
    std::string path() const { return sim_.devicePath(); }
    EnvOverrides asCom2() const { return {{"VEXLINK_COM2", sim_.devicePath()}}; }

    // The bytes received, once the last is the closing reset 'R' and nothing more has come for
    // a while (the line is paced, so bytes still arrive after the program has ended).
    std::vector<std::uint8_t> bytesAfterClose() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        std::vector<std::uint8_t> bytes = sim_.receivedBytes();
        auto changed = std::chrono::steady_clock::now();
        while (std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            std::vector<std::uint8_t> now = sim_.receivedBytes();
            if (now != bytes) {
                bytes = std::move(now);
                changed = std::chrono::steady_clock::now();
            } else if (!bytes.empty() && bytes.back() == 'R' &&
                       std::chrono::steady_clock::now() - changed >
                           std::chrono::milliseconds(100)) {
                break;
            }
        }
        return bytes;
    }

    // What the host sent after the identification request, as text.
    std::string afterIdentification() {
        std::vector<std::uint8_t> bytes = bytesAfterClose();
        auto x = std::find(bytes.begin(), bytes.end(), static_cast<std::uint8_t>('X'));
        return x == bytes.end() ? std::string() : std::string(x + 1, bytes.end());
    }

private:
    korvisor::Simulator sim_;
};

struct Summary {
    long samples = -1;
    long failures = -1;
    long checksumErrors = -1;
    long shortFrames = -1;
    long datagrams = -1;  // stream only
};

// The figures of the summary line on standard error.
inline Summary parseSummary(const std::string& err) {
    static const std::regex pattern(
        R"((\d+) samples?, (\d+) failures? \((\d+) checksum errors?, (\d+) short frames?\), [0-9.]+ samples/s over [0-9.]+ s(, (\d+) datagrams? sent)?)");
    std::smatch m;
    Summary s;
    if (std::regex_search(err, m, pattern)) {
        s.samples = std::stol(m[1]);
        s.failures = std::stol(m[2]);
        s.checksumErrors = std::stol(m[3]);
        s.shortFrames = std::stol(m[4]);
        if (m[6].matched) s.datagrams = std::stol(m[6]);
    }
    return s;
}

}  // namespace cli_test
