// Closing, moving to another port, single bytes and purges, and ports that are gone.
#include "LinkFixture.h"

#include <thread>

namespace linktest {
namespace {

const char* const kCantClose = " Error.. Can't Close port";

class Close : public LinkTest {
protected:
    // A link holding a tracker on COM1 (portId 1), with the device's record cleared.
    ScriptedDevice& holdTracker(Vexlink& link) {
        ScriptedDevice& tracker = deviceOn(1);
        EXPECT_EQ(link.AutoDetectComPort(), 1);
        forget(tracker, 3);
        return tracker;
    }
};

TEST_F(Close, WithAHandleResetsClosesAndClearsTheClaim) {
    Vexlink link;
    ScriptedDevice& tracker = holdTracker(link);
    const HANDLE held = link.comHandle;

    EXPECT_EQ(link.CloseCom(link.comHandle), 1);
    EXPECT_TRUE(receives(tracker, "R"));
    EXPECT_EQ(link.ifBusy, 0);
    EXPECT_EQ(link.portId, 0);
    EXPECT_EQ(link.currentSpeed, 9600);
    EXPECT_EQ(link.comHandle, held) << "keeps the closed port's value";

    // The handle now names nothing: a second close fails and changes nothing.
    link.SetPortId(3);
    link.ifBusy = 1;
    EXPECT_EQ(link.CloseCom(link.comHandle), 0);
    EXPECT_EQ(link.portId, 3);
    EXPECT_EQ(link.ifBusy, 1);
    EXPECT_TRUE(receives(tracker, "R"));
    EXPECT_TRUE(messages.empty());
}

TEST_F(Close, WithoutAHandleClosesSilentlyAndKeepsEveryField) {
    Vexlink link;
    ScriptedDevice& tracker = holdTracker(link);

    link.SetPortId(0);
    link.CloseCom();  // nothing claimed: nothing done
    EXPECT_EQ(link.SendToPort(const_cast<char*>("G")), 1) << "closed although portId was 0";

    link.SetPortId(1);
    link.CloseCom();
    EXPECT_TRUE(receives(tracker, "G")) << "no reset byte";
    EXPECT_EQ(link.portId, 1);
    EXPECT_EQ(link.ifBusy, 1);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(link.SendToPort(const_cast<char*>("G")), 0) << "still open";

    link.CloseCom();  // the port is already closed: the close fails
    EXPECT_EQ(messages, std::vector<std::string>{kCantClose});
}

// The caller's bracket for moving to another port, both ways.
TEST_F(Close, MovingToAnotherPort) {
    Vexlink link;
    ScriptedDevice& old = holdTracker(link);
    ScriptedDevice& next = deviceOn(2, "KHX", 19200);
    ScriptedDevice& silent = deviceOn(3, nullptr, 19200);

    // To a port without a tracker: OpenCom fails; the saved handle and values are put back.
    link.SetTempComHandle();
    int savedSpeed = link.GetCurrentSpeed();
    int savedPort = link.GetPortId();
    EXPECT_EQ(link.OpenCom("COM3"), 0);
    EXPECT_TRUE(receives(silent, "GXR")) << "at 9600 no 'L' goes out";
    EXPECT_EQ(silent.received().front().hostSpeed, 19200) << "the probed port keeps its own speed";
    EXPECT_EQ(link.currentSpeed, 19200);
    EXPECT_EQ(link.portId, 0);
    link.SetNewComHandle();
    link.SetSpeedFlag(savedSpeed);
    link.SetPortId(savedPort);
    EXPECT_EQ(link.SendToPort(const_cast<char*>("E")), 1);
    EXPECT_TRUE(receives(old, "E")) << "the old link is usable again";

    // To a port with a tracker: the old port is reset and closed, which clears ifBusy.
    link.SetTempComHandle();
    savedPort = link.GetPortId();
    EXPECT_EQ(link.OpenCom("COM2"), 1);
    EXPECT_EQ(link.ifBusy, 1);
    ASSERT_NE(savedPort, 0);
    EXPECT_EQ(link.CloseCom(link.GetTempComHandle()), 1);
    link.SetPortId(2);
    EXPECT_TRUE(receives(old, "ER"));
    EXPECT_TRUE(receives(next, "GX"));
    EXPECT_EQ(link.ifBusy, 0) << "cleared by closing the old port";
    EXPECT_EQ(link.SendToPort(const_cast<char*>("F")), 1);
    EXPECT_TRUE(receives(next, "GXF"));
    link.CloseCom(link.comHandle);
}

TEST_F(Close, SendToPortWritesOnlyTheFirstByte) {
    Vexlink link;
    ScriptedDevice& tracker = holdTracker(link);
    EXPECT_EQ(link.SendToPort(const_cast<char*>("EFGH")), 1);
    EXPECT_EQ(link.GetBytesRead(), 1);
    EXPECT_EQ(link.SendToPort(nullptr), 0);
    EXPECT_TRUE(receives(tracker, "E"));
    link.CloseCom(link.comHandle);
}

// Before any open, after a failed open and after a close, nothing reaches any device.
TEST_F(Close, NoPortMeansNoTraffic) {
    ScriptedDevice& tracker = deviceOn(1);
    Vexlink link;
    auto expectNothingWorks = [&](const char* when) {
        SCOPED_TRACE(when);
        EXPECT_EQ(link.SendToPort(const_cast<char*>("G")), 0);
        EXPECT_EQ(link.checkForKorvisor(), 0);
        EXPECT_EQ(link.GetDCB(), 0);
        link.ResetFIFO();
    };
    expectNothingWorks("before any open");
    EXPECT_EQ(link.OpenCom("COM2"), 0);
    expectNothingWorks("after a failed open");
    ASSERT_EQ(link.OpenCom("COM1"), 1);
    ASSERT_EQ(link.CloseCom(link.comHandle), 1);
    forget(tracker, 4);
    // Another device now opened in this process may well get the same descriptor number.
    ScriptedDevice& other = deviceOn(2);
    Vexlink second;
    ASSERT_EQ(second.OpenCom("COM2"), 1);
    forget(other, 3);
    expectNothingWorks("after a close");
    EXPECT_TRUE(receives(tracker, ""));
    EXPECT_TRUE(receives(other, ""));
    EXPECT_TRUE(messages.empty());
    second.CloseCom(second.comHandle);
}

// A tracker that goes away (an unplugged adapter): nothing hangs, and the port can be closed.
TEST_F(Close, VanishedDevice) {
    Vexlink link;
    ScriptedDevice& tracker = holdTracker(link);
    tracker.vanish();
    const auto start = Clock::now();
    EXPECT_EQ(link.SendToPort(const_cast<char*>("S")), 0);
    EXPECT_EQ(link.checkForKorvisor(), 0);
    EXPECT_LT(msSince(start), 25.0 + 100.0) << "more than its pauses";
    EXPECT_EQ(link.CloseCom(link.comHandle), 1);
    EXPECT_EQ(link.ifBusy, 0);
}

// Whether the port held has gone: a quiet tracker, even one that left a read short, is there;
// an unplugged one is gone, at once and without anything being sent; no port held is not gone.
TEST_F(Close, CheckIfGoneTellsAVanishedDeviceFromAQuietOne) {
    Vexlink link;
    EXPECT_EQ(link.CheckIfGone(), 0) << "no port held";
    ScriptedDevice& tracker = holdTracker(link);
    EXPECT_EQ(link.CheckIfGone(), 0) << "a tracker that is there";
    EXPECT_EQ(link.ReadFromPort(), 0) << "the scripted tracker sends no frames";
    EXPECT_EQ(link.CheckIfGone(), 0) << "after a read that got no reply";

    tracker.vanish();
    const auto start = Clock::now();
    EXPECT_EQ(link.CheckIfGone(), 1) << "unplugged";
    EXPECT_LT(msSince(start), 50.0) << "asks, does not wait";
    EXPECT_EQ(link.CloseCom(link.comHandle), 1);
    EXPECT_EQ(link.CheckIfGone(), 0) << "closed: no port held";
}

}  // namespace
}  // namespace linktest
