// Samples through vexlink.dll in every frame format and sampling mode, from a tracker held at a
// fixed pose: every read is a good frame with that pose.
#include "LinkFixture.h"
#include "WineRig.h"

#include <chrono>
#include <string>

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

namespace {

struct Mode {
    bool ascii;
    bool checksum;
    bool continuous;
};

std::string modeName(const ::testing::TestParamInfo<Mode>& info) {
    const Mode& m = info.param;
    return std::string(m.ascii ? "Ascii" : "Binary") + (m.checksum ? "Checksum" : "") +
           (m.continuous ? "Continuous" : "UponRequest");
}

class Reader : public WineLink, public ::testing::WithParamInterface<Mode> {
protected:
    void TearDown() override {
        char uponRequest[] = "G";
        link.SendToPort(uponRequest);
        link.SetTransMode('G');
    }
};

TEST_P(Reader, EveryReadIsTheTrackersPose) {
    const Mode m = GetParam();
    ASSERT_EQ(link.OpenCom(wine_rig::kTracker), 1);
    char format[] = {m.ascii ? 'E' : 'F', '\0'};
    ASSERT_EQ(link.SendToPort(format), 1);
    link.SetDataMode(format[0]);
    ASSERT_EQ(m.checksum ? link.CheckSumOn() : link.CheckSumOff(), 1);
    if (m.continuous) {
        link.SetSamplingRate(75);
        char stream[] = "H";
        ASSERT_EQ(link.SendToPort(stream), 1);
        link.SetTransMode('H');
    }

    constexpr int kReads = 15;
    int good = 0;
    const auto start = Clock::now();
    for (int i = 0; i < kReads; ++i) {
        if (link.ReadFromPort() != 1) continue;
        ++good;
        int pitch = 0, yaw = 0, roll = 0;
        link.Get_PYR(&pitch, &yaw, &roll);
        EXPECT_EQ(pitch, wine_rig::kPitch);
        EXPECT_EQ(yaw, wine_rig::kYaw);
        EXPECT_EQ(roll, wine_rig::kRoll);
    }
    const auto took = Clock::now() - start;
    // A stream is read as it comes; a stray miss on a loaded machine is tolerated.
    EXPECT_GE(good, kReads - 2);
    // At 75 samples/s, or upon request (a few ms each), 15 reads take well under a second.
    EXPECT_LT(took, milliseconds(3000));
    EXPECT_TRUE(messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Windows, Reader,
                         ::testing::Values(Mode{false, false, false}, Mode{false, true, false},
                                           Mode{false, false, true}, Mode{false, true, true},
                                           Mode{true, false, false}, Mode{true, false, true}),
                         modeName);

}  // namespace
