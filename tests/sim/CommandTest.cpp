// The tracker's command set over the pseudo-terminal: replies, frames in each format and
// mode, settings, the continuous stream and the record of what the host sent.
#include "SimFixture.h"

namespace simtest {
namespace {

using korvisor::Pose;

const Pose kPose{-45, 123, 10};

korvisor::TrackerState sendAndState(korvisor::Simulator& sim, HostPort& host,
                                    std::string_view bytes) {
    const std::size_t before = sim.received().size();
    host.send(bytes);
    EXPECT_TRUE(sim.waitForReceived(before + bytes.size(), 2000ms));
    return sim.state();
}

TEST_F(SimTest, IdentifiesAndGivesItsVersion) {
    korvisor::Options o;
    o.version = "ABCDEFG";  // a real tracker's text has at most 5 bytes
    startSim(o);
    host->send("X");
    EXPECT_EQ(host->read(3, 500ms), bytesOf("KHX"));
    host->send("V");
    EXPECT_EQ(host->readUntilQuiet(50ms), bytesOf("ABCDE"));
}

TEST_F(SimTest, PowersOnWithTheDefaultSettings) {
    startSim();
    const auto s = sim->state();
    EXPECT_EQ(s.speed, 9600);
    EXPECT_EQ(s.dataMode, 'F');
    EXPECT_EQ(s.transMode, 'G');
    EXPECT_FALSE(s.checksum);
    EXPECT_FALSE(s.hysteresis);
    EXPECT_EQ(s.rate, 40);
    EXPECT_EQ(s.resets, 0);
}

TEST_F(SimTest, CommandsChangeTheSettingsAndResetRestoresThem) {
    startSim();
    auto s = sendAndState(*sim, *host, "EMP\x80");
    EXPECT_EQ(s.dataMode, 'E');
    EXPECT_TRUE(s.checksum);
    EXPECT_TRUE(s.hysteresis);
    EXPECT_EQ(s.rate, 5);
    s = sendAndState(*sim, *host, "\x8E");
    EXPECT_EQ(s.rate, 75);
    s = sendAndState(*sim, *host, "\x7F\x8FZ");  // not commands: nothing changes
    EXPECT_EQ(s.rate, 75);
    s = sendAndState(*sim, *host, "FNO\x83");
    EXPECT_EQ(s.dataMode, 'F');
    EXPECT_FALSE(s.checksum);
    EXPECT_FALSE(s.hysteresis);
    EXPECT_EQ(s.rate, 20);
    s = sendAndState(*sim, *host, "EMP\x8ER");
    EXPECT_EQ(s.dataMode, 'F');
    EXPECT_FALSE(s.checksum);
    EXPECT_FALSE(s.hysteresis);
    EXPECT_EQ(s.rate, 40);
    EXPECT_EQ(s.resets, 1);
}

struct FrameCase {
    const char* name;
    const char* setup;  // bytes sent before the sample request
    korvisor::FrameFormat format;
};

class FrameFormats : public SimTest, public ::testing::WithParamInterface<FrameCase> {};

TEST_P(FrameFormats, SampleRequestAnswersOneFrameInTheCurrentFormat) {
    startSim(fixedPose(kPose));
    const FrameCase& c = GetParam();
    command(c.setup);
    host->readUntilQuiet(30ms);  // a stream started by the setup is not what is asked for here
    host->send("S");
    Bytes frame = host->readUntilQuiet(60ms);
    if (c.format.continuous) {
        // The stream goes on; the frame asked for is among the stream's, all alike.
        command("G");
        frame.resize(std::min<std::size_t>(frame.size(), 9));
    }
    EXPECT_EQ(frame, korvisor::encodeFrame(kPose, c.format));
}

INSTANTIATE_TEST_SUITE_P(Formats, FrameFormats,
                         ::testing::Values(FrameCase{"Binary", "", {'F', false, false}},
                                           FrameCase{"BinaryChecksum", "M", {'F', false, true}},
                                           FrameCase{
                                               "ContinuousChecksum", "M\x80H", {'F', true, true}},
                                           FrameCase{"Ascii", "EM", {'E', false, false}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SimTest, FramesCarryTheWordLimitsAndDecodeToThePose) {
    startSim();
    command("M");
    const Pose poses[] = {{-90, 0, -90}, {-1, 179, -1},   {0, 180, 0},   {89, 359, 89},
                          {90, 360, 90}, {269, 719, 269}, {-45, 123, 10}};
    for (const Pose& p : poses) {
        sim->setPose(p);
        EXPECT_EQ(sim->pose(), p);
        host->send("S");
        const Bytes f = host->read(7, 500ms);
        ASSERT_EQ(f.size(), 7u);
        auto word = [&](int i) { return static_cast<std::uint16_t>(f[i] << 8 | f[i + 1]); };
        EXPECT_EQ(korvisor::yawOfWord(word(0)), p.yaw);
        EXPECT_EQ(korvisor::tiltOfWord(word(2)), p.pitch);
        EXPECT_EQ(korvisor::tiltOfWord(word(4)), p.roll);
        EXPECT_EQ(f[6], std::uint8_t(f[1] + f[3] + f[5]));
    }
}

TEST_F(SimTest, ContinuousModeStreamsAtTheRateUntilUponRequest) {
    startSim(fixedPose(kPose));
    command("\x83H");  // 20 frames a second
    const Bytes stream = host->readUntilQuiet(200ms, 500ms);
    command("G");
    host->readUntilQuiet(30ms);  // the frame on the line when 'G' came
    EXPECT_TRUE(host->readUntilQuiet(150ms).empty()) << "the stream goes on after 'G'";

    const auto frame = korvisor::encodeFrame(kPose, {'F', true, false});
    ASSERT_GE(stream.size(), frame.size());
    const std::size_t frames = stream.size() / frame.size();
    EXPECT_EQ(stream.size() % frame.size(), 0u);
    EXPECT_GE(frames, 5u);  // 10 in 500 ms; a loaded machine may lose a few
    EXPECT_LE(frames, 12u);
    for (std::size_t i = 0; i < frames; ++i)
        EXPECT_TRUE(std::equal(frame.begin(), frame.end(), stream.begin() + i * frame.size()));
}

TEST_F(SimTest, MovingHeadByDefaultAndHysteresisHoldsBackSmallChanges) {
    startSim();
    const Pose a = sim->pose();
    std::this_thread::sleep_for(300ms);  // yaw sweeps 36 degrees a second
    EXPECT_NE(sim->pose(), a);

    sim->setPose({0, 100, 0});
    command("P");
    host->send("S");
    host->read(6, 500ms);
    sim->setPose({1, 101, -1});  // below the threshold: held back
    EXPECT_EQ(sim->pose(), (Pose{0, 100, 0}));
    sim->setPose({1, 102, -1});
    EXPECT_EQ(sim->pose(), (Pose{0, 102, 0}));
    command("O");
    EXPECT_EQ(sim->pose(), (Pose{1, 102, -1}));
}

TEST_F(SimTest, RecordsEveryByteReceivedInOrder) {
    startSim();
    const auto t0 = korvisor::Clock::now();
    command("G\x87X");
    const auto rec = sim->received();
    ASSERT_EQ(rec.size(), 3u);
    EXPECT_EQ(sim->receivedBytes(), (Bytes{'G', 0x87, 'X'}));
    for (const auto& r : rec) {
        EXPECT_TRUE(r.understood);
        EXPECT_EQ(r.hostSpeed, 9600);
        EXPECT_GE(r.at, t0);
    }
    sim->clearReceived();
    EXPECT_TRUE(sim->received().empty());
    EXPECT_FALSE(sim->waitForReceived(1, 20ms));
}

}  // namespace
}  // namespace simtest
