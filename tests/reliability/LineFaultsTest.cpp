// Faults on the line, played by the simulated tracker: for each, no call blocks past the
// read bound, nothing spins, a sample is only ever the tracker's real pose, a failed read
// leaves the last good sample alone, and once the fault is gone the link works again.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <unistd.h>

#include "Rig.h"

namespace reliability {
namespace {

constexpr Mode kBinaryRequest{"BinaryRequest", false, false, false};
constexpr Mode kBinaryRequestChecksum{"BinaryRequestChecksum", false, true, false};
constexpr Mode kBinaryStream{"BinaryStream", false, false, true};
constexpr Mode kBinaryStreamChecksum{"BinaryStreamChecksum", false, true, true};
constexpr Mode kAscii{"Ascii", true, false, false};

// Below this share of the wall time spent on the CPU, a caller is waiting, not spinning.
constexpr double kMaxCpuShare = 0.5;
constexpr auto kFaultRun = milliseconds(1500);

korvisor::Faults garbage() {
    korvisor::Faults f;
    f.garbageBetweenFrames = true;
    return f;
}
korvisor::Faults badChecksums() {
    korvisor::Faults f;
    f.badChecksumEvery = 3;
    return f;
}
korvisor::Faults lostBytes() {
    korvisor::Faults f;
    f.dropByteEvery = 11;
    return f;
}
korvisor::Faults silence() {
    korvisor::Faults f;
    f.silent = true;
    return f;
}

// Whether good samples still get through while the fault lasts.
enum class During { SomeGood, NoneGood, Either };

struct FaultCase {
    const char* fault;
    Mode mode;
    korvisor::Faults faults;
    During during;
};
void PrintTo(const FaultCase& c, std::ostream* out) { *out << c.fault << " " << c.mode.name; }

class LineFault : public ::testing::TestWithParam<FaultCase> {};

TEST_P(LineFault, BoundedNoSpinOnlyGoodSamplesAndRecovers) {
    const FaultCase& c = GetParam();
    const korvisor::Pose pose = guardedPose();
    Ports ports;
    korvisor::Simulator& sim = ports.tracker(3);
    Vexlink link;
    ASSERT_EQ(openCom3(link), 1);
    enterMode(link, sim, c.mode);
    const ReadLog before = readTimes(link, c.mode, pose, 3);
    ASSERT_GT(before.good, 0) << describe(before);

    sim.setFaults(c.faults);
    const ReadLog during = readFor(link, c.mode, pose, kFaultRun);
    EXPECT_LE(during.longest, kReadLimit) << describe(during);
    EXPECT_LT(during.cpuMs, kMaxCpuShare * during.wallMs) << describe(during);
    EXPECT_EQ(unexplainedWrong(during, c.mode), 0) << describe(during);
    EXPECT_EQ(during.changedOnFailure, 0) << describe(during);
    if (c.during == During::SomeGood) {
        EXPECT_GT(during.good, 0) << describe(during);
    } else if (c.during == During::NoneGood) {
        EXPECT_EQ(during.good, 0) << describe(during);
    }
    if (c.faults.badChecksumEvery) {
        EXPECT_GT(during.checksumErrors, 0) << describe(during);
    }

    // Once the fault is gone, and the tracker has sent what it still had queued, every read
    // gets its sample again.
    sim.setFaults({});
    const ReadLog settling = readFor(link, c.mode, pose, milliseconds(500));
    EXPECT_EQ(unexplainedWrong(settling, c.mode), 0) << describe(settling);
    const ReadLog after = readTimes(link, c.mode, pose, 10);
    EXPECT_GE(after.good, 8) << describe(after);
    EXPECT_EQ(unexplainedWrong(after, c.mode), 0) << describe(after);
    if (c.mode.continuous) leaveStream(link, sim);
    EXPECT_EQ(link.CloseCom(link.GetComHandle()), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Reliability, LineFault,
    ::testing::Values(
        // Stray bytes are skipped by the search for a start byte. Upon request they land in
        // the body, where only the checksum can catch them; the longer replies then fall
        // behind the requests, and a read that happens to start on a frame gets it whole.
        FaultCase{"Garbage", kBinaryStream, garbage(), During::SomeGood},
        FaultCase{"Garbage", kBinaryStreamChecksum, garbage(), During::SomeGood},
        FaultCase{"Garbage", kAscii, garbage(), During::SomeGood},
        FaultCase{"Garbage", kBinaryRequestChecksum, garbage(), During::Either},
        FaultCase{"BadChecksums", kBinaryRequestChecksum, badChecksums(), During::SomeGood},
        FaultCase{"BadChecksums", kBinaryStreamChecksum, badChecksums(), During::SomeGood},
        // A frame that lost a byte comes short, or in a stream fails its checksum. (Without a
        // checksum, a stream fills the gap with the next frame's bytes: nothing can tell.)
        FaultCase{"LostBytes", kBinaryRequest, lostBytes(), During::SomeGood},
        FaultCase{"LostBytes", kBinaryRequestChecksum, lostBytes(), During::SomeGood},
        FaultCase{"LostBytes", kBinaryStreamChecksum, lostBytes(), During::SomeGood},
        FaultCase{"LostBytes", kAscii, lostBytes(), During::NoneGood},
        FaultCase{"Silent", kBinaryRequest, silence(), During::NoneGood},
        FaultCase{"Silent", kBinaryStreamChecksum, silence(), During::NoneGood},
        FaultCase{"Silent", kAscii, silence(), During::NoneGood}),
    [](const auto& info) { return std::string(info.param.fault) + "_" + info.param.mode.name; });

// ---- A wrong identification, and a port where nothing answers -------------------------------

struct Identification {
    const char* name;
    korvisor::Faults faults;
};
void PrintTo(const Identification& c, std::ostream* out) { *out << c.name; }

class WrongIdentification : public ::testing::TestWithParam<Identification> {};

std::string lastWarning;
void keepWarning(const char* text, void*) { lastWarning = text; }

TEST_P(WrongIdentification, OpenAndDetectFailFastThenTheRightTrackerIsFound) {
    Ports ports;
    korvisor::Options options;
    options.faults = GetParam().faults;
    korvisor::Simulator& sim = ports.tracker(3, options);
    Vexlink::SetMessageHandler(keepWarning);
    lastWarning.clear();

    Vexlink link;
    auto start = Clock::now();
    EXPECT_EQ(link.OpenCom("COM3"), 0);
    EXPECT_LE(Clock::now() - start, milliseconds(45) + kSlack);
    EXPECT_EQ(link.CheckIfBusy(), 0);
    EXPECT_EQ(link.GetCurrentSpeed(), 19200);
    ASSERT_TRUE(sim.waitForReceived(4, milliseconds(1000)));
    EXPECT_EQ(sim.receivedBytes().back(), 'R');  // reset and closed

    start = Clock::now();
    EXPECT_EQ(link.AutoDetectComPort(), 0);
    EXPECT_LE(Clock::now() - start, milliseconds(45) + kSlack);
    EXPECT_EQ(lastWarning, "Korvisor not available\nCheck your connections");

    sim.setFaults({});
    EXPECT_EQ(link.AutoDetectComPort(), 3);
    const char* version = link.Get_Version();
    ASSERT_NE(version, nullptr);
    EXPECT_STREQ(version, "1.02");
    EXPECT_EQ(link.CloseCom(link.GetComHandle()), 1);
    Vexlink::SetMessageHandler(nullptr);
}

korvisor::Faults idReply(const char* reply) {
    korvisor::Faults f;
    f.idReply = reply;
    return f;
}

INSTANTIATE_TEST_SUITE_P(Reliability, WrongIdentification,
                         ::testing::Values(Identification{"Short", idReply("KH")},
                                           Identification{"Empty", idReply("")},
                                           Identification{"WrongLetter", idReply("KHY")},
                                           Identification{"LowerCase", idReply("khx")},
                                           Identification{"Silent", silence()}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- A tracker that vanishes in the middle of a stream, and comes back ----------------------

class Vanishing : public ::testing::TestWithParam<Mode> {};

TEST_P(Vanishing, ReadsStayBoundedThenPickingThePortAgainWorks) {
    const Mode mode = GetParam();
    const korvisor::Pose pose = guardedPose();
    const std::string dir =
        ::testing::TempDir() + "vexlink-vanish-" + std::to_string(getpid()) + mode.name;
    std::filesystem::create_directories(dir);
    korvisor::Options options;
    options.linkPath = dir + "/tracker";
    Ports ports;
    korvisor::Simulator& sim = ports.tracker(3, options);

    Vexlink link;
    ASSERT_EQ(openCom3(link), 1);
    enterMode(link, sim, mode);
    korvisor::Faults faults;
    faults.vanishAfterSeconds = 0.5;
    faults.comeBackAfterSeconds = 1.0;
    sim.setFaults(faults);

    const ReadLog across = readFor(link, mode, pose, milliseconds(1200), milliseconds(10));
    EXPECT_GT(across.good, 0) << describe(across);
    EXPECT_GT(across.calls - across.good, 0) << describe(across);
    EXPECT_LE(across.longest, kReadLimit) << describe(across);
    EXPECT_LT(across.cpuMs, kMaxCpuShare * across.wallMs) << describe(across);
    EXPECT_EQ(unexplainedWrong(across, mode), 0) << describe(across);
    EXPECT_EQ(across.changedOnFailure, 0) << describe(across);

    // The tracker is back on a new device behind the same path. The user picks the port
    // again: the console's bracket opens it anew and closes the old, dead handle.
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (!std::filesystem::exists(options.linkPath) && Clock::now() < deadline)
        std::this_thread::sleep_for(milliseconds(20));
    ASSERT_TRUE(std::filesystem::exists(options.linkPath));
    link.SetTempComHandle();
    ASSERT_EQ(link.OpenCom("COM3"), 1);
    link.CloseCom(link.GetTempComHandle());
    link.SetPortId(3);
    enterMode(link, sim, mode);
    const ReadLog after = readTimes(link, mode, pose, 10);
    EXPECT_GE(after.good, 8) << describe(after);
    EXPECT_EQ(unexplainedWrong(after, mode), 0) << describe(after);
    if (mode.continuous) leaveStream(link, sim);
    EXPECT_EQ(link.CloseCom(link.GetComHandle()), 1);
    sim.stop();
    std::filesystem::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(Reliability, Vanishing,
                         ::testing::Values(kBinaryStreamChecksum, kBinaryStream, kAscii,
                                           kBinaryRequest),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace reliability
