// The tracker's line: the pace of its bytes, its speed switch and the host's race with it,
// and what a speed mismatch does in either direction.
#include "SimFixture.h"
#include "SpeedJudge.h"

#include <ptykit/PtyPair.h>

namespace simtest {
namespace {

using korvisor::Clock;

// Reads n bytes; when the last one came.
Clock::time_point readAllTimed(HostPort& host, Bytes& bytes, std::size_t n,
                               std::chrono::milliseconds timeout) {
    Clock::time_point last{};
    const auto deadline = Clock::now() + timeout;
    while (bytes.size() < n) {
        std::uint8_t buf[64];
        ssize_t r =
            ptykit::readUntil(host.fd(), buf, std::min(sizeof buf, n - bytes.size()), deadline);
        if (r <= 0) break;
        last = Clock::now();
        bytes.insert(bytes.end(), buf, buf + r);
    }
    return last;
}

class LinePace : public SimTest, public ::testing::WithParamInterface<int> {};

TEST_P(LinePace, BytesGoOutAtTenBitTimesEach) {
    const int speed = GetParam();
    korvisor::Options o = fixedPose({1, 2, 3});
    o.trackerSpeed = o.portSpeed = speed;
    sim = std::make_unique<korvisor::Simulator>(o);
    sim->start();
    host = std::make_unique<HostPort>(sim->devicePath(), speed);
    command("E");
    for (int i = 0; i < 3; ++i) {
        // The 20-byte frame cannot be complete before 20 byte times after the request; a
        // late reader only adds to the time, so the lower bound is tight and the upper one
        // generous.
        const auto sent = Clock::now();
        host->send("S");
        Bytes frame;
        const auto last = readAllTimed(*host, frame, 20, 1000ms);
        ASSERT_EQ(frame.size(), 20u);
        const double expected = 20 * 10.0 / speed;
        const double got = std::chrono::duration<double>(last - sent).count();
        EXPECT_GT(got, 0.97 * expected) << speed;
        EXPECT_LT(got, 3.0 * expected + 0.010) << speed;
    }
}

INSTANTIATE_TEST_SUITE_P(Speeds, LinePace, ::testing::Values(9600, 19200));

TEST_F(SimTest, SwitchCommandFollowedAtOnceByTheHostIsJudgedRight) {
    startSim();
    for (int round = 0; round < 20; ++round) {
        sim->clearReceived();
        host->send("K");
        host->setSpeed(19200);
        host->send("X");
        ASSERT_EQ(host->read(3, 500ms), bytesOf("KHX")) << round;
        EXPECT_EQ(sim->state().speed, 19200);
        host->send("L");
        host->setSpeed(9600);
        host->send("X");
        ASSERT_EQ(host->read(3, 500ms), bytesOf("KHX")) << round;
        EXPECT_EQ(sim->state().speed, 9600);

        ASSERT_TRUE(sim->waitForReceived(4, 500ms));
        const auto rec = sim->received();
        const int speeds[] = {9600, 19200, 19200, 9600};
        for (int i = 0; i < 4; ++i) {
            EXPECT_TRUE(rec[i].understood) << round << " byte " << i;
            EXPECT_EQ(rec[i].hostSpeed, speeds[i]) << round << " byte " << i;
        }
    }
}

// A byte is heard at the speed in effect when it was sent, also when the host changed its speed
// while the line was idle and changes it again right after the byte. Host at 9600 beside a
// 19200 tracker: one byte it cannot understand, then 19200, a pause, 'L', and back to 9600.
TEST_F(SimTest, HostSpeedChangedWhileIdleCountsForTheNextByte) {
    korvisor::Options options;
    options.trackerSpeed = 19200;
    options.portSpeed = 9600;
    for (int round = 0; round < 3; ++round) {
        startSim(options);
        host->send("X");
        std::this_thread::sleep_for(20ms);  // gone out, as a host that drains before a switch
        host->setSpeed(19200);
        std::this_thread::sleep_for(50ms);
        host->send("L");
        host->setSpeed(9600);
        ASSERT_TRUE(sim->waitForReceived(2, 1000ms)) << round;
        const auto rec = sim->received();
        EXPECT_FALSE(rec[0].understood) << round;
        EXPECT_EQ(rec[0].hostSpeed, 9600) << round;
        EXPECT_TRUE(rec[1].understood) << round << ": 'L' judged at " << rec[1].hostSpeed;
        EXPECT_EQ(rec[1].hostSpeed, 19200) << round;
        EXPECT_EQ(sim->state().speed, 9600) << round;
        host->send("X");
        EXPECT_EQ(host->read(3, 500ms), bytesOf("KHX")) << round << ": the tracker follows at 9600";
    }
}

// A host that changes its speed by itself while idle: the next byte counts at the new speed.
TEST(SpeedJudge, FollowsTheHostWhileIdle) {
    korvisor::SpeedJudge judge(9600);
    EXPECT_FALSE(judge.follow(19200, false)) << "unexplained: waits out the grace time";
    EXPECT_EQ(judge.lineSpeed(), 9600);
    EXPECT_TRUE(judge.follow(19200, true));
    EXPECT_EQ(judge.lineSpeed(), 19200);
    EXPECT_EQ(*judge.judge(bytesOf("L"), 9600, 9600, false), std::vector<int>{19200})
        << "the switch the host followed at once";
    // A judged switch command explains the host's change at once.
    korvisor::SpeedJudge switched(9600);
    EXPECT_EQ(*switched.judge(bytesOf("K"), 9600, 9600, false), std::vector<int>{9600});
    EXPECT_TRUE(switched.follow(19200, false));
    EXPECT_EQ(switched.lineSpeed(), 19200);
}

TEST_F(SimTest, ResetAtTheHigherSpeedReturnsToNineThousandSix) {
    // A host resetting at 19200: 'R', 'R', 'L' at 19200, then 'R' at 9600. The first 'R'
    // takes the tracker back to 9600, so the second 'R' and the 'L' are not understood.
    startSim();
    command("K");
    host->setSpeed(19200);
    command("X");
    host->read(3, 500ms);
    sim->clearReceived();
    host->send("RRL");
    host->setSpeed(9600);
    host->send("R");
    ASSERT_TRUE(sim->waitForReceived(4, 1000ms));
    const auto rec = sim->received();
    const bool understood[] = {true, false, false, true};
    const int speeds[] = {19200, 19200, 19200, 9600};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(rec[i].understood, understood[i]) << i;
        EXPECT_EQ(rec[i].hostSpeed, speeds[i]) << i;
    }
    EXPECT_EQ(sim->state().speed, 9600);
    EXPECT_EQ(sim->state().resets, 2);
}

TEST_F(SimTest, BytesAtTheWrongSpeedAreNotUnderstoodAndAnswersArriveGarbled) {
    startSim(fixedPose({1, 2, 3}));
    host->setSpeed(19200);
    command("X");
    EXPECT_TRUE(host->readUntilQuiet(60ms).empty());
    EXPECT_FALSE(sim->received().back().understood);
    EXPECT_EQ(sim->received().back().hostSpeed, 19200);

    // The tracker streams ASCII at 9600; a host listening at 19200 gets no frame start.
    host->setSpeed(9600);
    command("EH");
    host->readFor(20ms);
    host->setSpeed(19200);
    host->readFor(30ms);  // bytes sent before the host's change
    const Bytes noise = host->read(60, 1000ms);
    EXPECT_EQ(noise.size(), 60u);
    EXPECT_EQ(std::count(noise.begin(), noise.end(), 'Y'), 0);
    host->setSpeed(9600);
    command("G");
}

struct JudgeCase {
    const char* what;
    int line;  // the speed the host is believed to send at
    const char* bytes;
    int before, after;  // the host's speed seen before and after the read
    bool graceOver;
    std::vector<int> expected;  // empty: the judge waits
};

TEST(SpeedJudge, AttributesSpeedChangesToTheSwitchCommands) {
    const JudgeCase cases[] = {
        {"no change", 9600, "GX", 9600, 9600, false, {9600, 9600}},
        {"switch seen after the read", 9600, "KX", 9600, 19200, false, {9600, 19200}},
        {"switch seen before the read", 9600, "KX", 19200, 19200, false, {9600, 19200}},
        {"bytes before the switch", 9600, "MKS", 19200, 19200, false, {9600, 9600, 19200}},
        {"switch in flight: wait", 9600, "M", 19200, 19200, false, {}},
        {"unexplained change after grace", 9600, "X", 19200, 19200, true, {19200}},
        {"a switch to the speed in use", 9600, "LX", 9600, 9600, false, {9600, 9600}},
        {"down again", 19200, "RRLR", 19200, 9600, false, {19200, 19200, 19200, 9600}},
    };
    for (const JudgeCase& c : cases) {
        korvisor::SpeedJudge judge(c.line);
        const std::string_view text(c.bytes);
        auto got = judge.judge(Bytes(text.begin(), text.end()), c.before, c.after, c.graceOver);
        if (c.expected.empty()) {
            EXPECT_FALSE(got) << c.what;
        } else {
            ASSERT_TRUE(got) << c.what;
            EXPECT_EQ(*got, c.expected) << c.what;
        }
    }

    // A switch judged before the host followed it explains the change seen next time.
    korvisor::SpeedJudge judge(9600);
    EXPECT_EQ(*judge.judge(bytesOf("K"), 9600, 9600, false), std::vector<int>{9600});
    EXPECT_EQ(*judge.judge(bytesOf("X"), 19200, 19200, false), std::vector<int>{19200});
}

}  // namespace
}  // namespace simtest
