// The library's soak: many samples streamed in every mode in turn, with no failure beyond
// the odd late frame of a loaded machine, no wrong sample, no descriptor left open and no
// growth of memory. In the sanitizer build LeakSanitizer checks for leaks at exit as well.
// VEXLINK_SOAK_SAMPLES sets the number of samples (CI's short default: 2000).
#include <gtest/gtest.h>

#include <cstdlib>

#include "Rig.h"

namespace reliability {
namespace {

long envOr(const char* name, long fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::atol(v) : fallback;
}

constexpr int kBlock = 250;  // samples in one mode before the next
constexpr long kMaxGrowthKb = 4096;

const Mode kCycle[] = {
    {"BinaryStreamChecksum", false, true, true, 75}, {"BinaryRequest", false, false, false},
    {"BinaryRequestChecksum", false, true, false},   {"Ascii", true, false, false},
    {"BinaryStream", false, false, true, 75},
};

TEST(Soak, LibraryStreamsWithoutFailuresLeaksOrGrowth) {
    const long samples = envOr("VEXLINK_SOAK_SAMPLES", 2000);
    const korvisor::Pose pose = guardedPose();
    Ports ports;
    korvisor::Simulator& sim = ports.tracker(3);
    Vexlink link;
    ASSERT_EQ(openCom3(link), 1);

    ReadLog total;
    int descriptors = 0;
    [[maybe_unused]] long residentAfterWarmUp = 0;
    for (long done = 0, block = 0; done < samples; ++block) {
        const Mode& mode = kCycle[block % std::size(kCycle)];
        enterMode(link, sim, mode);
        const int count = static_cast<int>(std::min<long>(kBlock, samples - done));
        const ReadLog log = readTimes(link, mode, pose, count);
        if (mode.continuous) leaveStream(link, sim);
        sim.clearReceived();  // the simulator's own record of bytes would grow otherwise
        done += count;

        total.calls += log.calls;
        total.good += log.good;
        total.wrongAngles += unexplainedWrong(log, mode);
        total.changedOnFailure += log.changedOnFailure;
        total.longest = std::max(total.longest, log.longest);
        if (block == 0) {
            descriptors = openDescriptors();
            residentAfterWarmUp = residentKb();
        }
        ASSERT_EQ(unexplainedWrong(log, mode), 0) << mode.name << ": " << describe(log);
    }
    EXPECT_EQ(total.wrongAngles, 0);
    EXPECT_EQ(total.changedOnFailure, 0);
    EXPECT_GE(total.good, total.calls - total.calls / 100) << describe(total);
    EXPECT_LE(total.longest, kReadLimit) << describe(total);
    EXPECT_EQ(openDescriptors(), descriptors);
#if !defined(__SANITIZE_ADDRESS__)
    // (AddressSanitizer keeps freed memory in quarantine, so resident size says nothing there.)
    EXPECT_LE(residentKb() - residentAfterWarmUp, kMaxGrowthKb);
#endif
    EXPECT_EQ(link.CloseCom(link.GetComHandle()), 1);
    RecordProperty("samples", std::to_string(total.calls));
}

}  // namespace
}  // namespace reliability
