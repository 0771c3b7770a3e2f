// Each fault does what its flag says.
#include "FaultInjector.h"
#include "SimFixture.h"

#include <sys/stat.h>
#include <unistd.h>

namespace simtest {
namespace {

using korvisor::Faults;
using korvisor::Pose;

const Pose kPose{10, 20, 30};

korvisor::Options withFaults(Faults f) {
    korvisor::Options o = fixedPose(kPose);
    o.faults = std::move(f);
    return o;
}

TEST_F(SimTest, GarbageBeforeEachFrameNeverLooksLikeAFrameStart) {
    Faults f;
    f.garbageBetweenFrames = true;
    startSim(withFaults(f));
    const auto frame = korvisor::encodeFrame(kPose, {'F', false, false});
    for (int i = 0; i < 4; ++i) {
        host->send("S");
        const Bytes got = host->read(korvisor::kGarbagePerFrame + frame.size(), 500ms);
        ASSERT_EQ(got.size(), korvisor::kGarbagePerFrame + frame.size());
        EXPECT_TRUE(
            std::equal(frame.begin(), frame.end(), got.begin() + korvisor::kGarbagePerFrame));
        for (int k = 0; k < korvisor::kGarbagePerFrame; ++k) {
            EXPECT_NE(got[k], 0xFF);
            EXPECT_NE(got[k], 'Y');
        }
    }
}

TEST_F(SimTest, EveryNthChecksumIsWrong) {
    Faults f;
    f.badChecksumEvery = 3;
    startSim(withFaults(f));
    command("M");
    const auto good = korvisor::encodeFrame(kPose, {'F', false, true});
    for (int i = 1; i <= 6; ++i) {
        host->send("S");
        const Bytes got = host->read(7, 500ms);
        ASSERT_EQ(got.size(), 7u);
        EXPECT_TRUE(std::equal(good.begin(), good.end() - 1, got.begin()));
        EXPECT_EQ(got[6] == good[6], i % 3 != 0) << "frame " << i;
    }
}

TEST_F(SimTest, EveryNthByteSentIsLost) {
    Faults f;
    f.dropByteEvery = 3;
    korvisor::Options o = withFaults(f);
    o.version = "ABCDE";
    startSim(o);
    host->send("V");
    EXPECT_EQ(host->readUntilQuiet(60ms), bytesOf("ABDE"));
    host->send("X");
    EXPECT_EQ(host->readUntilQuiet(60ms), bytesOf("HX"));  // the 6th byte sent was the 'K'
}

TEST_F(SimTest, SilentTrackerAnswersNothingButHearsEverything) {
    Faults f;
    f.silent = true;
    startSim(withFaults(f));
    command("XVS");
    EXPECT_TRUE(host->readUntilQuiet(80ms).empty());
    EXPECT_EQ(sim->receivedBytes(), bytesOf("XVS"));
    f.silent = false;
    sim->setFaults(f);
    host->send("X");
    EXPECT_EQ(host->read(3, 500ms), bytesOf("KHX"));
}

TEST_F(SimTest, WrongIdentificationReply) {
    Faults f;
    f.idReply = "KH";
    startSim(withFaults(f));
    host->send("X");
    EXPECT_EQ(host->readUntilQuiet(60ms), bytesOf("KH"));
}

bool exists(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0;
}

struct VanishCase {
    const char* name;
    bool scheduled;  // by the fault flags, else through vanish() and comeBack()
};

class Vanishing : public SimTest, public ::testing::WithParamInterface<VanishCase> {};

TEST_P(Vanishing, HostSeesHangUpAndTheTrackerComesBackOnTheLink) {
    char dir[] = "/tmp/korvisor-sim-test-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    korvisor::Options o = fixedPose(kPose);
    o.linkPath = std::string(dir) + "/tracker";
    if (GetParam().scheduled) {
        o.faults.vanishAfterSeconds = 0.2;
        o.faults.comeBackAfterSeconds = 0.3;
    }
    startSim(o);
    command("H");  // the new device must start afresh, not streaming
    const std::string first = sim->slavePath();

    if (!GetParam().scheduled) sim->vanish();
    EXPECT_TRUE(host->waitHangUp(2000ms));
    EXPECT_FALSE(exists(o.linkPath)) << "the link outlives the device";
    EXPECT_FALSE(exists(first));
    host.reset();

    if (!GetParam().scheduled) sim->comeBack();
    const auto deadline = korvisor::Clock::now() + 2s;
    while (!exists(o.linkPath) && korvisor::Clock::now() < deadline)
        std::this_thread::sleep_for(10ms);
    ASSERT_TRUE(exists(o.linkPath));
    host = std::make_unique<HostPort>(o.linkPath, 9600);
    EXPECT_EQ(sim->state().transMode, 'G');
    host->send("X");
    EXPECT_EQ(host->read(3, 500ms), bytesOf("KHX"));

    host.reset();
    sim->stop();
    EXPECT_FALSE(exists(o.linkPath));
    rmdir(dir);
}

INSTANTIATE_TEST_SUITE_P(Ways, Vanishing,
                         ::testing::Values(VanishCase{"ByFlags", true},
                                           VanishCase{"ByCalls", false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace simtest
