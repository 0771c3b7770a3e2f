// The link through vexlink.dll: open, identify, detect, version, close, held and missing
// ports, a silent port's time-outs.
#include "LinkFixture.h"
#include "WineRig.h"

#include <vexlink/Ports.h>

#include <chrono>
#include <cstring>

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

namespace {

using LinkOpen = WineLink;

TEST_F(LinkOpen, IdentifiesTheTrackerAtNineSixHundredAndReadsItsVersion) {
    ASSERT_EQ(link.OpenCom(wine_rig::kTracker), 1);
    EXPECT_EQ(link.CheckIfBusy(), 1);
    EXPECT_EQ(link.GetCurrentSpeed(), 9600);
    EXPECT_EQ(link.GetPortId(), 0) << "OpenCom leaves portId to the caller";
    const char* version = link.Get_Version();
    ASSERT_NE(version, nullptr);
    EXPECT_STREQ(version, "1.02");
    EXPECT_EQ(link.CloseCom(link.GetComHandle()), 1);
    EXPECT_EQ(link.CheckIfBusy(), 0);
    EXPECT_TRUE(messages.empty());
}

TEST_F(LinkOpen, AClosedPortsHandleReachesNothing) {
    ASSERT_EQ(link.OpenCom(wine_rig::kTracker), 1);
    ASSERT_EQ(link.CloseCom(link.GetComHandle()), 1);
    char request[] = "V";
    EXPECT_EQ(link.SendToPort(request), 0);
    EXPECT_EQ(link.Get_Version(), nullptr);
    EXPECT_EQ(link.GetDCB(), 0);
}

TEST_F(LinkOpen, AHeldPortDoesNotOpenForASecondLinkAndTheFirstKeepsIt) {
    ASSERT_EQ(link.OpenCom(wine_rig::kTracker), 1);
    EXPECT_EQ(other.OpenCom(wine_rig::kTracker), 0);
    EXPECT_EQ(other.GetComHandle(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(other.GetCurrentSpeed(), 19200) << "nothing was sent";
    const vexlink::PortError why = vexlink::lastPortError();
    EXPECT_EQ(why.fault, vexlink::PortFault::Busy);
    EXPECT_EQ(Vexlink::GetLastError(), 5) << "ERROR_ACCESS_DENIED, as a driver answers";
    EXPECT_NE(vexlink::describePortError(why).find("in use by another program"), std::string::npos);
    ASSERT_NE(link.Get_Version(), nullptr);
    EXPECT_STREQ(link.versionText, "1.02");
    EXPECT_TRUE(messages.empty());
}

TEST_F(LinkOpen, PortsThatDoNotExistFailAtOnceWithoutAMessage) {
    for (const char* name : {wine_rig::kDangling, wine_rig::kUnmapped}) {
        SCOPED_TRACE(name);
        const auto start = Clock::now();
        EXPECT_EQ(link.OpenCom(name), 0);
        EXPECT_LT(Clock::now() - start, milliseconds(500));
        EXPECT_EQ(link.GetComHandle(), INVALID_HANDLE_VALUE);
        EXPECT_EQ(link.CheckIfBusy(), 0);
        EXPECT_EQ(link.GetCurrentSpeed(), 19200);
        EXPECT_EQ(vexlink::lastPortError().fault, vexlink::PortFault::NotFound);
        EXPECT_EQ(Vexlink::GetLastError(), 2) << "ERROR_FILE_NOT_FOUND";
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(LinkOpen, ASilentPortFailsIdentificationWithinItsTimeOuts) {
    const auto start = Clock::now();
    EXPECT_EQ(link.OpenCom(wine_rig::kSilent), 0);
    const auto took = Clock::now() - start;
    // 25 ms of pauses and at most 20 ms of reading; generous above for a loaded machine.
    EXPECT_GE(took, milliseconds(40));
    EXPECT_LT(took, milliseconds(1000));
    EXPECT_EQ(link.GetCurrentSpeed(), 19200);
    EXPECT_EQ(link.CheckIfBusy(), 0);
    EXPECT_TRUE(messages.empty());
    // The port was closed again: it opens once more.
    EXPECT_EQ(other.OpenCom(wine_rig::kSilent), 0);
    EXPECT_NE(other.GetComHandle(), INVALID_HANDLE_VALUE);
}

using LinkDetect = WineLink;

TEST_F(LinkDetect, FindsTheTrackerPastAMissingAndASilentPortThenRefusesWhileBusy) {
    EXPECT_EQ(link.AutoDetectComPort(), wine_rig::kTrackerNumber);
    EXPECT_EQ(link.GetPortId(), wine_rig::kTrackerNumber);
    EXPECT_EQ(link.CheckIfBusy(), 1);
    EXPECT_EQ(link.GetCurrentSpeed(), 9600);
    EXPECT_TRUE(messages.empty());

    EXPECT_EQ(link.AutoDetectComPort(), 0);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Device busy or not available");
}

TEST_F(LinkDetect, ReportsNoTrackerWhenAnotherLinkHoldsIt) {
    ASSERT_EQ(other.OpenCom(wine_rig::kTracker), 1);
    EXPECT_EQ(link.AutoDetectComPort(), 0);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Korvisor not available\nCheck your connections");
}

}  // namespace
