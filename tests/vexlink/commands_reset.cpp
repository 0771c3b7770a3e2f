// HardReset: purge, 'R', 10 ms, purge, 'R', the switch to 9600 bit/s, 'R'; checksum mode off.
#include "reader_fixture.h"

#include <korvisor/Simulator.h>

namespace {

using namespace trackertest;
using HardReset = TrackerLink;

TEST_F(HardReset, AtNineThousandSixSendsThreeResetsAfterPurgingTheQueues) {
    ASSERT_EQ(link.GetCurrentSpeed(), 9600);
    device.send("junk");  // queued for the host before the reset: purged by it
    ASSERT_TRUE(device.waitForHostInput(4, 1000ms));
    link.checkStatus = 1;

    const auto start = Clock::now();
    EXPECT_EQ(link.HardReset(), 1);
    EXPECT_GE(Clock::now() - start, 10ms);
    EXPECT_EQ(link.GetCheckStatus(), 0);
    EXPECT_EQ(link.GetCurrentSpeed(), 9600);
    ASSERT_TRUE(device.waitForCount(3, 1000ms));
    const auto rx = device.received();
    ASSERT_EQ(device.receivedText(), "RRR");
    for (const auto& r : rx) EXPECT_EQ(r.hostSpeed, 9600);
    // The pause lies between the first two: the device, which may take in the first one late
    // on a loaded machine, still sees them apart.
    EXPECT_GE(rx[1].at - rx[0].at, 3ms);

    // Nothing of what was queued before the reset is left to read.
    ASSERT_NE(link.Get_Version(), nullptr);
    EXPECT_STREQ(link.versionText, "");
}

TEST_F(HardReset, AtNineteenTwoHundredSwitchesToNineThousandSixBeforeTheLastReset) {
    ASSERT_EQ(link.Set19200(), 1);
    ASSERT_TRUE(device.waitForCount(1, 1000ms));  // the switch, which the device has taken in
    device.clearReceived();

    EXPECT_EQ(link.HardReset(), 1);
    EXPECT_EQ(link.GetCurrentSpeed(), 9600);
    ASSERT_TRUE(device.waitForCount(4, 1000ms));
    EXPECT_EQ(device.receivedText(), "RRLR");
    const auto rx = device.received();
    EXPECT_EQ(rx.front().hostSpeed, 19200);
    EXPECT_EQ(rx.back().hostSpeed, 9600);
    const termios host = device.hostSettings();
    EXPECT_EQ(cfgetospeed(&host), static_cast<speed_t>(B9600));
}

// Without a port every write fails; the reset still reports 1 and clears checksum mode, and its
// switch to 9600 bit/s reports the rejected settings.
TEST(HardResetWithoutPort, ReturnsOneClearsChecksumModeAndReportsTheFailedSwitch) {
    static std::vector<std::string> shown;
    shown.clear();
    Vexlink::SetMessageHandler([](const char* text, void*) { shown.emplace_back(text); });
    Vexlink link;
    link.checkStatus = 1;
    EXPECT_EQ(link.HardReset(), 1);
    Vexlink::SetMessageHandler(nullptr);
    EXPECT_EQ(link.GetCheckStatus(), 0);
    EXPECT_EQ(link.GetCurrentSpeed(), 19200);
    EXPECT_EQ(shown, std::vector<std::string>{"Init failed \n \"SetCommState\""});
}

// The tracker simulator tells at which speed each byte left the host, judging the race between
// the switch command and the host's own change of speed.
TEST(HardResetOnTracker, SendsTheLastResetAtNineThousandSixAndTheRestAtTheFormerSpeed) {
    korvisor::Simulator sim;
    sim.start();
    Vexlink link;
    ASSERT_EQ(link.OpenCom(sim.devicePath().c_str()), 1);
    for (int speed : {9600, 19200}) {
        if (speed == 19200)  // the tracker takes in the switch before the reset begins
            testsupport::settled(
                sim, 1, [&] { EXPECT_EQ(link.Set19200(), 1); }, 1000ms);
        sim.clearReceived();

        ASSERT_EQ(link.HardReset(), 1);
        const std::size_t count = speed == 9600 ? 3 : 4;
        ASSERT_TRUE(sim.waitForReceived(count, 1000ms)) << speed;
        const auto rx = sim.received();
        std::string sent;
        for (const auto& r : rx) sent += static_cast<char>(r.value);
        EXPECT_EQ(sent, speed == 9600 ? "RRR" : "RRLR") << speed;
        for (std::size_t i = 0; i < rx.size(); ++i)
            EXPECT_EQ(rx[i].hostSpeed, i + 1 == rx.size() ? 9600 : speed) << speed << " byte " << i;
        EXPECT_EQ(sim.state().speed, 9600) << speed;
    }
    link.CloseCom(link.GetComHandle());
}

}  // namespace
