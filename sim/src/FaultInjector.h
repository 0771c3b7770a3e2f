// The faults a tracker can be asked to show, with the counters that space them out.
#pragma once

#include <korvisor/Simulator.h>

#include <cstdint>
#include <utility>
#include <vector>

namespace korvisor {

// Bytes of line garbage: never 0xFF or 'Y', so a host that synchronises on a frame's start
// byte skips them.
inline constexpr std::uint8_t kGarbage[] = {0x00, 0x55, 0xAA, 0x7E, 0x13, 'Q', 0xFE, 0x80};
inline constexpr int kGarbagePerFrame = 3;

// A byte sent at a speed the host does not use reaches it as this (deterministically).
inline std::uint8_t garbled(std::uint8_t b) { return static_cast<std::uint8_t>(b ^ 0x5A); }

class FaultInjector {
public:
    explicit FaultInjector(Faults faults = {}) : faults_(std::move(faults)) {}

    void set(Faults faults) { faults_ = std::move(faults); }
    const Faults& faults() const { return faults_; }

    // Stray bytes to send before a frame; empty without the garbage fault.
    std::vector<std::uint8_t> garbage();
    // Counts a checksummed frame; true when this one is to carry a wrong checksum.
    bool corruptChecksum();
    // Counts a byte sent; true when this one is to be lost.
    bool loseByte();

private:
    Faults faults_;
    std::size_t garbageIndex_ = 0;
    long checksummedFrames_ = 0;
    long bytesSent_ = 0;
};

}  // namespace korvisor
